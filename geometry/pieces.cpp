#include "pieces.h"

#include <algorithm>
#include <cmath>

namespace {

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

}  // namespace

bool isFinite(const TubeSegment& piece) { return isFinite(piece.from) && isFinite(piece.to); }

Closest closestPoints(const Point3D& p0, const Point3D& p1, const Point3D& q0, const Point3D& q1) {
    const Vec3d a = vec3d(p0), b = vec3d(q0);
    const Vec3d d1 = vec3d(p1) - a, d2 = vec3d(q1) - b, r = a - b;
    const double e1 = dot(d1, d1), e2 = dot(d2, d2), f = dot(d2, r);
    double s = 0, t = 0;
    if (e1 == 0 && e2 == 0) {
        // two points
    } else if (e1 == 0) {
        t = clamp01(f / e2);
    } else {
        const double c = dot(d1, r);
        if (e2 == 0) {
            s = clamp01(-c / e1);
        } else {
            const double b12 = dot(d1, d2);
            const double denominator = e1 * e2 - b12 * b12;  // 0 when parallel
            s = denominator > 0 ? clamp01((b12 * f - c * e2) / denominator) : 0.0;
            t = (b12 * s + f) / e2;
            if (t < 0) {
                t = 0;
                s = clamp01(-c / e1);
            } else if (t > 1) {
                t = 1;
                s = clamp01((b12 - c) / e1);
            }
        }
    }
    return {s, t, norm((a + d1 * s) - (b + d2 * t))};
}

Point3D pointAt(const TubeSegment& piece, double s) {
    const Vec3d p = vec3d(piece.from) + (vec3d(piece.to) - vec3d(piece.from)) * s;
    return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}
