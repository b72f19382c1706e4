// Writes an RGB picture as a PNG file.
//
//   writePngRgb  `pixels` holds height rows of width * 3 bytes, the bottom row
//                first (as GL reads them). The file is written as every
//                output is (writeFileSafely): a failure leaves no partial
//                file, a link at `path` is replaced rather than followed.
//                False with *error on failure.
#pragma once

#include <string>
#include <vector>

bool writePngRgb(const std::string& path, int width, int height,
                 const std::vector<unsigned char>& pixels, std::string* error);
