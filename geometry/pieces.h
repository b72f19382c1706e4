// Straight pieces between two points: support tubes, and the centre line cut
// into short pieces. Distances between pieces are worked out in double
// precision, where the differences of float coordinates are exact.
//
//   closestPoints  the points of two pieces that lie nearest each other: the
//                  parameter s along the first (0 at `from`, 1 at `to`), t
//                  along the second, and their distance. Either piece may be
//                  a single point.
//   pointAt        the point at parameter s along a piece.
#pragma once

#include "std.h"

// A straight piece from one point to another.
struct TubeSegment {
    Point3D from, to;
};

bool isFinite(const TubeSegment& piece);

struct Closest {
    double s, t, distance;
};

Closest closestPoints(const Point3D& p0, const Point3D& p1, const Point3D& q0, const Point3D& q1);
Point3D pointAt(const TubeSegment& piece, double s);
