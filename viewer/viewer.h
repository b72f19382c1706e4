// The 3D viewer, built as a module of its own: the program loads it (and with
// it the window toolkit, OpenGL and the image libraries) only when it opens a
// window, so a batch run starts without them.
//
//   strutwrightRunViewer  shows `track` (the document as saved) in the 3D
//                         view, takes the screenshot or applies the keys the
//                         request asks for, and returns kViewDone or
//                         kViewFailed (a screenshot that could not be taken
//                         or written). The screenshot is drawn offscreen at
//                         the window's size, whether or not the window is
//                         shown. Without a display it says so on stderr
//                         (a note, left out when the request is quiet) and
//                         skips the view; that is not a failure unless a
//                         screenshot was asked for.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tube.h"
#include "zvtrack.h"

// The window's size and place (-geometry WxH{+-}X{+-}Y). An offset counts
// from the screen's left or top edge, or from its right or bottom edge when
// it was written with a minus ("-0" puts the window against the right edge).
struct WindowGeometry {
    int width = 600;
    int height = 600;
    bool placed = false;  // whether the offsets were given
    int x = 0;
    int y = 0;
    bool fromRight = false;
    bool fromBottom = false;
};

struct ViewRequest {
    std::string screenshotPath;            // empty: an interactive window
    std::string keys;                      // view keys applied before the first frame
    std::string displayName;               // value of -display, empty when not given
    WindowGeometry geometry;               // the screenshot's size too
    std::vector<std::string> toolkitArgs;  // the window toolkit's other options
    bool solid = false;                    // start in the solid view (--view solid)
    bool frame = false;                    // start framed on the whole scene (--frame)
    bool quiet = false;                    // no notes on stderr, only warnings and errors
    TubeList warnedTubes;                  // tubes the solid view shows in the warning colour
};

enum ViewOutcome : int {
    kViewDone = 0,
    kViewFailed = 1,
};

// The module's file, looked for beside the program's executable, then in this
// folder relative to it (where `cmake --install` puts it).
constexpr const char* kViewerModuleFile = "libstrutwright-viewer.so";
constexpr const char* kInstalledViewerFolder = "../lib/strutwright/";
constexpr const char* kRunViewerSymbol = "strutwrightRunViewer";

extern "C" __attribute__((visibility("default"))) int strutwrightRunViewer(
    const ViewRequest* request, ZvTrack* track);
using RunViewerFunction = int (*)(const ViewRequest*, ZvTrack*);
