// The help overlay of the view: every key and mouse action, the view shown
// and the time the last frame took.
//
//   helpLines        the overlay's text, one line each.
//   drawHelpOverlay  draws the lines in a dark box at the window's top left,
//                    over whatever the frame holds; GL state is left as it
//                    was found.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> helpLines(bool solid, double lastFrameMs);
void drawHelpOverlay(const std::vector<std::string>& lines, int width, int height);
