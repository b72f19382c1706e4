#include "calc.h"

#include <cmath>

float Vectors::GetLength(Point3D a) {
    const double squares = std::pow(static_cast<double>(a.x), 2.0) +
                           std::pow(static_cast<double>(a.y), 2.0) +
                           std::pow(static_cast<double>(a.z), 2.0);
    return static_cast<float>(std::sqrt(squares));
}

Point3D Vectors::Invert(Point3D a) { return Point3D{-a.x, -a.y, -a.z}; }

Point3D Vectors::Add(Point3D a, Point3D b) { return Point3D{a.x + b.x, a.y + b.y, a.z + b.z}; }

Point3D Vectors::Subtract(Point3D a, Point3D b) { return Add(a, Invert(b)); }

Point3D Vectors::MultScalar(Point3D a, float s) { return Point3D{a.x * s, a.y * s, a.z * s}; }

Point3D Vectors::CrossProduct(Point3D a, Point3D b) {
    return Point3D{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A zero, non-finite or too tiny length has no usable direction; (0, 0, 0)
// lets callers carry on without infinities and NaNs spreading into a structure.
Point3D Vectors::Normalize(Point3D a) {
    const float length = GetLength(a);
    if (length == 0.0f || !std::isfinite(length)) return Point3D{};
    const float reciprocal = 1.0f / length;
    if (!std::isfinite(reciprocal)) return Point3D{};
    return MultScalar(a, reciprocal);
}
