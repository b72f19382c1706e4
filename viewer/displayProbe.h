// Finds out, without the window toolkit, whether a display can be opened, so
// the program can skip the viewer instead of dying inside the toolkit.
//
//   probeDisplay         true when the display `name` (or $DISPLAY when name
//                        is empty) opens; otherwise false with the reason in
//                        *why. The connection stays open until
//                        releaseDisplayProbe: an X server resets when its last
//                        client leaves, and would then refuse the toolkit's
//                        own connection for a moment.
//   releaseDisplayProbe  closes the probe's connection (once the toolkit has
//                        its own).
#pragma once

#include <string>

bool probeDisplay(const std::string& name, std::string* why);
void releaseDisplayProbe();
