#include "reportText.h"

#include <cmath>
#include <cstdio>

std::string listOf(std::initializer_list<Tally> tallies) {
    std::string out;
    for (const Tally& tally : tallies) {
        if (tally.count == 0) continue;
        if (!out.empty()) out += ", ";
        out += std::to_string(tally.count) + " " + (tally.count == 1 ? tally.singular : tally.plural);
    }
    return out.empty() ? "none" : out;
}

std::string fixed(double value, int decimals) {
    // A value that rounds to zero loses its sign: "-0.0" would puzzle a reader.
    const double scale = std::pow(10.0, decimals);
    if (std::fabs(value) * scale < 0.5) value = 0;
    char text[400];  // room for the widest double with a few decimals
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string shortNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string pointText(const Point3D& point, int decimals) {
    return "(" + fixed(point.x, decimals) + ", " + fixed(point.y, decimals) + ", " +
           fixed(point.z, decimals) + ")";
}
