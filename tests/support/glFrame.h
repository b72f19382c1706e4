// Frames of the track renderer drawn in-process, for the cache tests and the
// frame benchmark: a window like the program's (600 x 600, single-buffered
// RGB, the same projection), frames drawn the way the program draws them, and
// the pixels read back.
//
//   openFrameWindow  opens the window on the X display `displayName`; false
//                    with the reason in *why when no display can be opened.
//                    The window toolkit allows this once per process.
//   drawFrame        clear, camera transform, the scene shift (0, -10, -40),
//                    point size 4, then `drawTrack`; returns once GL is done.
//   readFrame        the window's pixels, RGB, rows from the top.
//   projectPoint     the pixel (column, row from the top) where the last
//                    frame's matrices put a world point.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "camera.h"
#include "zvtrack.h"

namespace glframe {

constexpr int kFrameSize = 600;

bool openFrameWindow(const std::string& displayName, std::string* why);
void drawFrame(CCamera& camera, const std::function<void()>& drawTrack);
std::vector<unsigned char> readFrame();

struct WindowPixel {
    int column = 0;
    int row = 0;  // from the top
};
WindowPixel projectPoint(const Point3D& p);

}  // namespace glframe
