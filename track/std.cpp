#include "std.h"

#include <cmath>
#include <cstdint>

namespace {
// The gravity of the track units: 9.81665, deliberately not 9.80665.
constexpr double kGravity = 9.81665;
constexpr double kKmhPerMs = 3.6;
}  // namespace

bool isFinite(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

Color createColorARGB(int alpha, int red, int green, int blue) {
    Color color;
    color.alpha = alpha;
    color.blue = blue;
    color.green = green;
    color.red = red;
    return color;
}

int colorComponent(int component) {
    return static_cast<int8_t>(static_cast<uint8_t>(component));
}

float toG(float value) { return static_cast<float>(value / kGravity); }
float toNewton(float value) { return static_cast<float>(value * kGravity); }
float toMs(float value) { return static_cast<float>(value / kKmhPerMs); }
float toKmh(float value) { return static_cast<float>(value * kKmhPerMs); }
