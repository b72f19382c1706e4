// The window's size and place as -geometry gives them, read strictly: the
// window toolkit reads whatever it is given, and a size it cannot read comes
// out as whatever its memory held.
//
//   readWindowGeometry  reads "WxH", "{+-}X{+-}Y" or both ("800x600+10-0")
//                       into *geometry, each side 1 to kLargestWindowSide
//                       and each offset at most kFarthestWindowOffset; a
//                       size not given is WindowGeometry's. On anything else
//                       *geometry is left alone and the result is one line
//                       for the user; empty when the text was read.
#pragma once

#include <string>

#include "viewer.h"

constexpr int kLargestWindowSide = 16384;
// As far as the display's coordinates reach.
constexpr int kFarthestWindowOffset = 32767;

std::string readWindowGeometry(const std::string& text, WindowGeometry* geometry);
