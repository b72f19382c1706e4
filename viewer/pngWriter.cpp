#include "pngWriter.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kBytesPerPixel = 3;
}

bool writePngRgb(const std::string& path, int width, int height,
                 const std::vector<unsigned char>& pixels, std::string* error) {
    if (width <= 0 || height <= 0 ||
        pixels.size() < static_cast<size_t>(width) * height * kBytesPerPixel) {
        *error = "no picture to write";
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;

    std::string temporary = path + ".part";
    // A negative row stride tells the writer that the bottom row comes first.
    png_int_32 rowStride = -width * kBytesPerPixel;
    if (!png_image_write_to_file(&image, temporary.c_str(), 0, pixels.data(), rowStride,
                                 nullptr)) {
        *error = image.message;
        png_image_free(&image);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        *error = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
