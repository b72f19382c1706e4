// Vector arithmetic on Point3D. Stateless; every result is rounded to single
// precision. Lengths use double-precision pow and sqrt, rounded once.
#pragma once
#include "std.h"

class Vectors {
public:
    float GetLength(Point3D a);
    Point3D Invert(Point3D a);
    Point3D Add(Point3D a, Point3D b);
    Point3D Subtract(Point3D a, Point3D b);  // Add(a, Invert(b))
    Point3D MultScalar(Point3D a, float s);
    Point3D CrossProduct(Point3D a, Point3D b);  // a x b, right-handed
    // a scaled to length 1 (times the reciprocal of its length, rounded to
    // float); a zero, non-finite or subnormal-length vector yields (0, 0, 0).
    Point3D Normalize(Point3D a);
};
