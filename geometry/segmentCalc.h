// Arc length, position by arc length and banking of the track's segments
// (the curve itself: curve.h). Single precision; sin, cos, pow and sqrt in
// double precision, rounded once. A segment without a curve has length 0, no
// positions (`out` is left alone) and roll 0.
//
//   GetPosSegmentNode  cubicPoint at t (not clamped); a segment without a
//                      curve yields its first bezier's position, or (0, 0, 0)
//   GetBezierLength    arc length by adaptive subdivision (tolerance 1e-6)
//   GetBezierPos       point at an arc length, captured within +-0.05 of it
//   GetBanking         roll at t: the cosine ease between the segment's two
//                      rolls, less 2/27 sin(((1-t) pi)^2) of the previous
//                      segment's roll change unless rollFlag is set
//
// Why the walks stop: halving a piece a few float steps wide can give it back
// unchanged with a polygon still longer than its chord, so such a piece counts
// as flat, and so does one whose excess is not finite. Beyond that a walk
// stops at kArcWalkMaxDepth levels: random curves within +-20,000 reached at
// most 43 (test_geometry keeps that check), so 48 changes no result on a real
// track and keeps every walk short and its stack shallow.
#pragma once

#include <vector>

#include "curve.h"
#include "zvtrack.h"

// Levels of halving after which an arc-length walk counts a piece as flat.
constexpr int kArcWalkMaxDepth = 48;
// Flatness tolerances of the length walk and of the position walk.
constexpr float kLengthTolerance = 1.0e-6f;
constexpr float kPositionTolerance = 9.0e-9f;
// Half-width of the window around the requested distance of a position walk.
constexpr double kCaptureWindow = 0.05;

// One flat piece of an arc-length walk over a segment.
struct ArcPiece {
    float length;  // accumulated length after this piece, as the walk adds it up
    Point3D end;   // its end point: what a position walk captures
    double t;      // the curve parameter there
};

// Every flat piece of one walk over `curve`, in curve order: the same pieces,
// lengths and points the walks of BezierCalc meet, so one walk can answer
// many positions (capturedPiece) or give t at an arc length.
std::vector<ArcPiece> arcPieces(const SegmentCurve& curve, float tolerance);
// The piece GetBezierPos captures for `distance` on the walk of these pieces
// (position tolerance): the first whose length lies within kCaptureWindow of
// it; -1 when none does, and always for a distance of 0.
long capturedPiece(const std::vector<ArcPiece>& pieces, float distance);
// The curve parameter at `distance` along a segment's arc-length table (its
// end beyond the table). A piece of the table is flat, so the arc along it is
// the distance from its start; bisection finds t there, however unevenly the
// curve runs through it.
float parameterAtArc(const SegmentCurve& curve, const std::vector<ArcPiece>& table, double distance);

class BezierCalc {
public:
    Point3D GetPosSegmentNode(float t, int segment, ZvTrack* track);
    void GetBezierPos(int segment, float distance, Point3D* out, float tolerance, ZvTrack* track);
    float GetBezierLength(int segment, float distance, ZvTrack* track);
    float GetBezierLength(int segment, float distance, float tolerance, ZvTrack* track);
    float GetBezierLength(Point3D* polygon, float distance, float tolerance);
    void bezierSplit(Point3D* polygon, Point3D* left, Point3D* right);
    void bezierAddIfClose(Point3D* polygon, float* length, float* found, Point3D* out,
                          float distance, float tolerance);
    float getDistance(Point3D* a, Point3D* b);

    // The walk of bezierAddIfClose at a given depth of halving; returns the
    // deepest level it reached.
    int walkPiece(Point3D* polygon, float* length, float* found, Point3D* out, float distance,
                  float tolerance, int depth);
};

class TrackCalc {
public:
    float GetBanking(int segment, float t, ZvTrack* track);
};
