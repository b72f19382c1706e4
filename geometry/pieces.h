// Straight pieces between two points: support tubes, and the centre line cut
// into short pieces. Distances between pieces are worked out in double
// precision, where the differences of float coordinates are exact.
//
//   closestPoints  the points of two pieces that lie nearest each other: the
//                  parameter s along the first (0 at `from`, 1 at `to`), t
//                  along the second, and their distance. Either piece may be
//                  a single point.
//   pointAt        the point at parameter s along a piece.
//   Vec3d          the double-precision arithmetic these distances use.
#pragma once

#include <cmath>

#include "std.h"

struct Vec3d {
    double x, y, z;
};
inline Vec3d vec3d(const Point3D& p) { return {p.x, p.y, p.z}; }
inline Vec3d operator-(const Vec3d& a, const Vec3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3d operator+(const Vec3d& a, const Vec3d& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3d operator*(const Vec3d& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(const Vec3d& a, const Vec3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double norm(const Vec3d& a) { return std::sqrt(dot(a, a)); }
// The distance of two points, exact but for the square root.
inline double exactDistance(const Point3D& a, const Point3D& b) { return norm(vec3d(a) - vec3d(b)); }

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
