// Writes an RGB picture as a PNG file.
//
//   writePngRgb  `pixels` holds height rows of width * 3 bytes, the bottom row
//                first (as GL reads them). The file is written beside `path`
//                under a temporary name and renamed only when complete, so a
//                failure leaves no partial file. False with *error on failure.
#pragma once

#include <string>
#include <vector>

bool writePngRgb(const std::string& path, int width, int height,
                 const std::vector<unsigned char>& pixels, std::string* error);
