// Finds out, without the window toolkit, whether a display can be opened, so
// the program can skip the viewer instead of dying inside the toolkit.
//
//   probeDisplay  true when the display `name` (or $DISPLAY when name is empty)
//                 opens; otherwise false with the reason in *why.
#pragma once

#include <string>

bool probeDisplay(const std::string& name, std::string* why);
