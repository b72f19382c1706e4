#include "pieces.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vec {
    double x, y, z;
};
Vec vec(const Point3D& p) { return {p.x, p.y, p.z}; }
Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator+(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(const Vec& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double norm(const Vec& a) { return std::sqrt(dot(a, a)); }
double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

}  // namespace

bool isFinite(const TubeSegment& piece) { return isFinite(piece.from) && isFinite(piece.to); }

Closest closestPoints(const Point3D& p0, const Point3D& p1, const Point3D& q0, const Point3D& q1) {
    const Vec a = vec(p0), b = vec(q0);
    const Vec d1 = vec(p1) - a, d2 = vec(q1) - b, r = a - b;
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
    const Vec p = vec(piece.from) + (vec(piece.to) - vec(piece.from)) * s;
    return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}
