// The viewer half of the strutwright program, built as a module of its own:
// the program loads it (and with it the window toolkit, OpenGL and the image
// libraries) only when it opens a window, so a batch run starts without them.
//
//   strutwrightRunViewer  shows `track` (the document as saved) in the 3D
//                         view, takes the screenshot or applies the keys the
//                         command line asks for, and returns the exit status:
//                         at least `savedStatus`, the batch phase's status.
#pragma once

#include "commandLine.h"
#include "../track/zvtrack.h"

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

// The module's file, looked for beside the program's executable, then in this
// folder relative to it (where `cmake --install` puts it).
constexpr const char* kViewerModuleFile = "libstrutwright-viewer.so";
constexpr const char* kInstalledViewerFolder = "../lib/strutwright/";
constexpr const char* kRunViewerSymbol = "strutwrightRunViewer";

extern "C" int strutwrightRunViewer(const CommandLine* commandLine, ZvTrack* track,
                                    int savedStatus);
using RunViewerFunction = int (*)(const CommandLine*, ZvTrack*, int);
