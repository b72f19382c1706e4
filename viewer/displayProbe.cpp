#include "displayProbe.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace {
Display* probeConnection = nullptr;
}

bool probeDisplay(const std::string& name, std::string* why) {
    std::string target = name;
    if (target.empty()) {
        const char* fromEnvironment = std::getenv("DISPLAY");
        if (!fromEnvironment || !*fromEnvironment) {
            *why = "DISPLAY is not set";
            return false;
        }
        target = fromEnvironment;
    }
    releaseDisplayProbe();
    probeConnection = XOpenDisplay(target.c_str());
    if (!probeConnection) {
        *why = "cannot open display \"" + target + "\"";
        return false;
    }
    return true;
}

void releaseDisplayProbe() {
    if (probeConnection) XCloseDisplay(probeConnection);
    probeConnection = nullptr;
}
