// Geometry of the track's cubic bezier segments.
//
// Segment i runs from bezier i to bezier i + 1 with control points
// P0 = position(i), P1 = controlOut(i), P2 = controlIn(i+1), P3 = position(i+1).
// The closing segment of a closed track (closedTrack set, i = bezierCount - 1)
// runs from the last bezier back to bezier 0. A segment without a curve (any
// other index) has length 0, leaves position outputs unchanged, and has roll 0.
// All values are single precision; sin, cos, pow and sqrt are taken in double
// precision and rounded once.
//
//   GetPosSegmentNode  point at curve parameter t (not clamped); a segment
//                      without a curve yields its first bezier's position, or
//                      (0, 0, 0) when that does not exist either
//   GetBezierLength    arc length by adaptive subdivision (tolerance 1e-6)
//   GetBezierPos       point at an arc length, captured within +-0.05 of it;
//                      `out` keeps its value when nothing is captured
//   GetBanking         roll at parameter t: the cosine ease from the roll of
//                      the first bezier to that of the following one, less an
//                      easing correction carrying 2/27 sin(((1-t) pi)^2) of the
//                      previous segment's roll change (not when rollFlag is set)
//
// The arc-length walks split a piece in halves until it is flat. Float
// rounding alone does not end every walk: halving a piece a few float steps
// wide can give back the piece itself, and its rounded polygon can stay longer
// than its chord, so a piece that halving no longer changes counts as flat.
// Beyond that the walks stop at kArcWalkMaxDepth levels and count a piece there
// as flat. 48 is large enough to change no result for coordinates within
// +-10,000: random curves with coordinates within +-20,000 and segments up to
// 10,000 long reached at most 43 levels (test_geometry keeps a check of this).
// It is small enough to keep the stack shallow and a walk short: the breadth of
// a walk is bounded by the float resolution along the curve, its depth by the
// limit. A piece whose polygon - chord is not finite (non-finite or
// overflowing coordinates) counts as flat at once, so no walk hangs on them.
#pragma once

#include "../track/zvtrack.h"

// Levels of halving after which an arc-length walk counts a piece as flat.
constexpr int kArcWalkMaxDepth = 48;
// Flatness tolerances of the length walk and of the position walk.
constexpr float kLengthTolerance = 1.0e-6f;
constexpr float kPositionTolerance = 9.0e-9f;
// Half-width of the window around the requested distance of a position walk.
constexpr double kCaptureWindow = 0.05;

// Control points of one segment.
struct SegmentCurve {
    Point3D p[4];
};

// Fills `curve` for segment i; returns false when the segment has no curve.
bool segmentCurve(int segment, const ZvTrack* track, SegmentCurve* curve);
// Index of the bezier that ends segment i, or -1 when the segment has no curve.
int followingBezier(int segment, const ZvTrack* track);

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
