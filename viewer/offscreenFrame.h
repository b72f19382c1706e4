// A picture drawn offscreen at a size of its own, whatever becomes of the
// window: a window that is not shown, too small or off the screen gets no
// frames from the toolkit, but its context still draws.
//
//   drawOffscreen  makes a colour target of width x height pixels the
//                  current framebuffer, calls `draw`, reads the picture back
//                  into *pixels (RGB, the bottom row first, as writePngRgb
//                  takes it) and releases the target. When the GL cannot
//                  draw a picture that large it draws nothing and returns
//                  false with the reason in *why.
#pragma once

#include <functional>
#include <string>
#include <vector>

bool drawOffscreen(int width, int height, const std::function<void()>& draw,
                   std::vector<unsigned char>* pixels, std::string* why);
