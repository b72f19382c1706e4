// Geometry of the track's cubic bezier segments.
//
// Segment i runs from bezier i to bezier i + 1 with control points
// P0 = position(i), P1 = controlOut(i), P2 = controlIn(i+1), P3 = position(i+1).
// The closing segment of a closed track (closedTrack set, i = bezierCount - 1)
// runs from the last bezier back to bezier 0. A segment without a curve (any
// other index) has length 0, leaves position outputs unchanged, and has roll 0.
//
//   GetPosSegmentNode  point at curve parameter t (not clamped)
//   GetBezierLength    arc length by adaptive subdivision (tolerance 1e-6)
//   GetBezierPos       point at an arc length, captured within +-0.05 of it;
//                      `out` keeps its value when nothing is captured
//   GetBanking         roll at parameter t with the cosine ease and the easing
//                      correction toward the previous segment
#pragma once

#include "../track/zvtrack.h"

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
};

class TrackCalc {
public:
    float GetBanking(int segment, float t, ZvTrack* track);
};
