#include "picture.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <set>

namespace apptest {

void Picture::at(int x, int y, int rgbOut[3]) const {
    for (int c = 0; c < 3; ++c) rgbOut[c] = 0;
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    for (int c = 0; c < 3; ++c) rgbOut[c] = p[c];
}

bool Picture::hasColourNear(int x, int y, int radius, int r, int g, int b) const {
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            int c[3];
            at(x + dx, y + dy, c);
            if (c[0] == r && c[1] == g && c[2] == b) return true;
        }
    }
    return false;
}

int Picture::count(int r, int g, int b) const {
    int found = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        if (rgb[i] == r && rgb[i + 1] == g && rgb[i + 2] == b) ++found;
    }
    return found;
}

size_t Picture::distinctColours() const {
    std::set<uint32_t> colours;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        colours.insert(static_cast<uint32_t>(rgb[i]) << 16 |
                       static_cast<uint32_t>(rgb[i + 1]) << 8 | rgb[i + 2]);
    }
    return colours.size();
}

Picture readPng(const std::string& path) {
    Picture picture;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(rgb);
    return picture;
}

namespace {

// Fields of the dump header, 32-bit words stored most significant byte first.
enum XwdField : int {
    kXwdHeaderSize = 0,
    kXwdWidth = 4,
    kXwdHeight = 5,
    kXwdByteOrder = 7,
    kXwdBitsPerPixel = 11,
    kXwdBytesPerLine = 12,
    kXwdColours = 19,
    kXwdFieldCount = 25,
};
constexpr size_t kXwdColourSize = 12;
constexpr uint32_t kMsbFirst = 1;

uint32_t bigEndianWord(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

}  // namespace

Picture readXwd(const std::string& bytes) {
    Picture picture;
    if (bytes.size() < kXwdFieldCount * 4) return picture;
    auto field = [&](int index) { return bigEndianWord(bytes, index * 4u); };
    if (field(kXwdBitsPerPixel) != 32) return picture;
    size_t width = field(kXwdWidth), height = field(kXwdHeight);
    size_t bytesPerLine = field(kXwdBytesPerLine);
    size_t pixelsStart = field(kXwdHeaderSize) + field(kXwdColours) * kXwdColourSize;
    if (bytes.size() < pixelsStart + bytesPerLine * height) return picture;
    bool msbFirst = field(kXwdByteOrder) == kMsbFirst;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.rgb.resize(width * height * 3);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(
                &bytes[pixelsStart + y * bytesPerLine + x * 4]);
            unsigned char* out = &picture.rgb[(y * width + x) * 3];
            // 0x00RRGGBB in the dump's byte order.
            out[0] = msbFirst ? p[1] : p[2];
            out[1] = msbFirst ? p[2] : p[1];
            out[2] = msbFirst ? p[3] : p[0];
        }
    }
    return picture;
}

}  // namespace apptest
