// The curve of one segment, the one place that knows how segments and
// beziers join.
//
// Segment i runs from bezier i to followingBezier(i): i + 1, or bezier 0 for
// the closing segment of a closed track (closedTrack set, i = bezierCount - 1).
// Any other segment has no curve. Its control points are P0 = position(i),
// P1 = controlOut(i), P2 = controlIn(next), P3 = position(next).
//
// Two evaluations of the cubic exist and both are kept, since each fixes the
// bytes or pixels of an output (in float the two weightings round apart):
//   cubicPoint       weights u^3, 3u^2 v, 3u v^2, v^3 with u = 1 - t and
//                    v = 1 - u: where the generator and getPosSegmentNode put
//                    a marker, and so every support built at it.
//   centreLinePoint  weights u^3, 3t u^2, 3t^2 u, t^3: the centre line the
//                    viewer draws.
// Neither clamps t.
#pragma once

#include "zvtrack.h"

// Control points of one segment.
struct SegmentCurve {
    Point3D p[4];
};

// Index of the bezier that ends segment i, or -1 when the segment has no curve.
int followingBezier(int segment, const ZvTrack* track);
// Fills `curve` for segment i; false (and `curve` untouched) when it has none.
bool segmentCurve(int segment, const ZvTrack* track, SegmentCurve* curve);

Point3D cubicPoint(const SegmentCurve& curve, float t);
Point3D centreLinePoint(const SegmentCurve& curve, float t);
