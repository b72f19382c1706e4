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
    // In integers while they are exact: a report may hold many thousands of
    // numbers, and printf takes a while over each. A value that rounds to
    // zero loses its sign: "-0.0" would puzzle a reader.
    constexpr double kExactUnits = 1e15;
    constexpr double kScale[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    constexpr int kMostDecimals = 9;
    if (decimals < 0 || decimals > kMostDecimals) decimals = kMostDecimals;
    const double units = std::round(std::fabs(value) * kScale[decimals]);
    if (!(units < kExactUnits)) {
        char text[400];  // room for the widest double with its decimals
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return text;
    }
    std::string digits = std::to_string(static_cast<long long>(units));
    const size_t places = static_cast<size_t>(decimals);
    if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
    if (places > 0) digits.insert(digits.size() - places, 1, '.');
    return value < 0 && units > 0 ? "-" + digits : digits;
}

std::string shortNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);  // as many digits as a float holds
    return text;
}

std::string pointText(const Point3D& point, int decimals) {
    return "(" + fixed(point.x, decimals) + ", " + fixed(point.y, decimals) + ", " +
           fixed(point.z, decimals) + ")";
}
