#include "pngWriter.h"

#include <png.h>

#include <cstring>

#include "safeOutput.h"

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
    auto write = [&](FILE* stream) -> std::string {
        png_image image;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(width);
        image.height = static_cast<png_uint_32>(height);
        image.format = PNG_FORMAT_RGB;
        // A negative row stride tells the writer that the bottom row comes first.
        const png_int_32 rowStride = -width * kBytesPerPixel;
        if (png_image_write_to_stdio(&image, stream, 0, pixels.data(), rowStride, nullptr)) {
            return "";
        }
        std::string problem = image.message;
        png_image_free(&image);
        return problem;
    };
    *error = writeFileSafely(path, write);
    return error->empty();
}
