#include "windowGeometry.h"

#include <algorithm>
#include <string>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at *at as a number from `least` to `most`; false when
// there are none or the number is out of range.
bool readBounded(const std::string& text, size_t* at, int least, int most, int* number) {
    const size_t start = *at;
    long value = 0;
    for (; *at < text.size() && isDigit(text[*at]); ++*at) {
        value = std::min(value * 10 + (text[*at] - '0'), most + 1L);
    }
    *number = static_cast<int>(value);
    return *at > start && value >= least && value <= most;
}

// Reads "+N" or "-N" at *at; a minus counts from the far edge.
bool readOffset(const std::string& text, size_t* at, int* offset, bool* fromFarEdge) {
    if (*at >= text.size() || (text[*at] != '+' && text[*at] != '-')) return false;
    *fromFarEdge = text[(*at)++] == '-';
    return readBounded(text, at, 0, kFarthestWindowOffset, offset);
}

bool readSize(const std::string& text, size_t* at, WindowGeometry* read) {
    if (!readBounded(text, at, 1, kLargestWindowSide, &read->width)) return false;
    if (*at >= text.size() || (text[*at] != 'x' && text[*at] != 'X')) return false;
    ++*at;
    return readBounded(text, at, 1, kLargestWindowSide, &read->height);
}

}  // namespace

std::string readWindowGeometry(const std::string& text, WindowGeometry* geometry) {
    WindowGeometry read;
    size_t at = 0;
    const bool sized = !text.empty() && isDigit(text[0]);
    bool valid = !sized || readSize(text, &at, &read);
    read.placed = valid && at < text.size();
    if (read.placed) {
        valid = readOffset(text, &at, &read.x, &read.fromRight) &&
                readOffset(text, &at, &read.y, &read.fromBottom);
    }
    if (valid && at == text.size() && (sized || read.placed)) {
        *geometry = read;
        return "";
    }
    return "-geometry takes WxH, {+-}X{+-}Y or both (sides 1 to " +
           std::to_string(kLargestWindowSide) + ", offsets up to " +
           std::to_string(kFarthestWindowOffset) + "), not '" + text + "'";
}
