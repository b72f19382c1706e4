// Shared value types of the track library: points, colours and unit conversions.
//
//   createColorARGB(a, r, g, b)  builds a Color; note the argument order differs
//                                from the record order (alpha, blue, green, red).
//   isFinite(p)                  all three coordinates finite.
//   colorComponent(c)            the signed value of a component's low 8 bits, so
//                                255 set in memory and -1 loaded from a file agree.
//   toG / toNewton / toMs / toKmh  unit conversions, computed in double precision
//                                and rounded once to float.
#pragma once

#include <cstdint>

// A point or vector in track space; y points up, the ground is y = 0.
struct Point3D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Whether all three coordinates are finite numbers.
bool isFinite(const Point3D& p);

// A colour as the track file stores it: four octets alpha, blue, green, red.
// Only the low 8 bits of each component reach a file; a component loaded from
// a file holds its byte as a signed value (0xFF reads back as -1).
struct Color {
    int alpha = 0;
    int blue = 0;
    int green = 0;
    int red = 0;
};

Color createColorARGB(int alpha, int red, int green, int blue);

// The component as the file would hold it: the signed value of its low 8 bits.
int colorComponent(int component);

float toG(float value);       // m/s^2 -> g (divides by 9.81665)
float toNewton(float value);  // g -> m/s^2
float toMs(float value);      // km/h -> m/s
float toKmh(float value);     // m/s -> km/h
