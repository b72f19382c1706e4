// Usage errors about the files a program is asked to read and write, found
// before anything is read or written, so a slip on the command line cannot
// overwrite the track.
//
//   filesConflict  "" or the problem: the track output or the screenshot is
//                  the input file itself (the same device and inode, whatever
//                  name or link leads there), or the screenshot would take the
//                  track output's place (the same name in the same folder).
//                  An empty screenshot path means no screenshot.
//   systemTree     "/dev" or "/proc" when `path` lies in one of them, as
//                  written (made absolute) or once the links of its folder
//                  are followed: there a name stands for a device or for a
//                  process's own files (/dev/stdout, /proc/self/fd/1), never
//                  for a place to put a track. "" anywhere else.
#pragma once

#include <string>

std::string filesConflict(const std::string& input, const std::string& output,
                          const std::string& screenshot);
std::string systemTree(const std::string& path);
