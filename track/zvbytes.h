// Big-endian encoding of single values, shared by the stream primitives, the
// loader and the saver. Every function works on exactly four bytes (or one
// for a Bool) and never touches a stream.
#pragma once

#include <cstdint>
#include <cstring>

#include "std.h"

namespace zvbytes {

constexpr unsigned char kTrueByte = 0xFF;
constexpr unsigned char kFalseByte = 0x00;

// A Bool is true only for exactly 1: any other value writes false.
inline unsigned char encodeBool(int value) { return value == 1 ? kTrueByte : kFalseByte; }

inline void encodeInt(int value, unsigned char out[4]) {
    uint32_t bits = static_cast<uint32_t>(value);
    out[0] = static_cast<unsigned char>(bits >> 24);
    out[1] = static_cast<unsigned char>(bits >> 16);
    out[2] = static_cast<unsigned char>(bits >> 8);
    out[3] = static_cast<unsigned char>(bits);
}

inline int decodeInt(const unsigned char in[4]) {
    uint32_t bits = (uint32_t{in[0]} << 24) | (uint32_t{in[1]} << 16) |
                    (uint32_t{in[2]} << 8) | uint32_t{in[3]};
    return static_cast<int32_t>(bits);
}

inline void encodeFloat(float value, unsigned char out[4]) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    encodeInt(static_cast<int>(bits), out);
}

inline float decodeFloat(const unsigned char in[4]) {
    uint32_t bits = static_cast<uint32_t>(decodeInt(in));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Alpha, blue, green, red: the low 8 bits of each component.
inline void encodeColor(const Color& color, unsigned char out[4]) {
    out[0] = static_cast<unsigned char>(color.alpha);
    out[1] = static_cast<unsigned char>(color.blue);
    out[2] = static_cast<unsigned char>(color.green);
    out[3] = static_cast<unsigned char>(color.red);
}

}  // namespace zvbytes
