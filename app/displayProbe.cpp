#include "displayProbe.h"

#include <X11/Xlib.h>

#include <cstdlib>

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
    Display* display = XOpenDisplay(target.c_str());
    if (!display) {
        *why = "cannot open display \"" + target + "\"";
        return false;
    }
    XCloseDisplay(display);
    return true;
}
