// Pictures read back from the viewer: PNG screenshots and X window dumps.
#pragma once

#include <string>
#include <vector>

namespace apptest {

// An RGB picture, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    bool valid() const { return width > 0 && height > 0; }
    // Colour at column x, row y from the top; black outside the picture.
    void at(int x, int y, int rgbOut[3]) const;
    // Whether a pixel within `radius` of (x, y) has exactly this colour.
    bool hasColourNear(int x, int y, int radius, int r, int g, int b) const;
    // Number of pixels of exactly this colour.
    int count(int r, int g, int b) const;
    // Number of different colours in the picture.
    size_t distinctColours() const;
};

Picture readPng(const std::string& path);
// A window dump in the X window dump format (32-bit true colour).
Picture readXwd(const std::string& bytes);

}  // namespace apptest
