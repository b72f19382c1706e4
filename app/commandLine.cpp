#include "commandLine.h"

#include <cstring>

namespace {

// Options the window toolkit reads itself, and whether each takes a value.
struct ToolkitOption {
    const char* name;
    bool takesValue;
};

constexpr ToolkitOption kToolkitOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-direct", false}, {"-indirect", false},
    {"-iconic", false}, {"-gldebug", false}, {"-sync", false},
};

const ToolkitOption* findToolkitOption(const char* arg) {
    for (const ToolkitOption& option : kToolkitOptions) {
        if (std::strcmp(arg, option.name) == 0) return &option;
    }
    return nullptr;
}

class Parser {
public:
    Parser(int argc, const char* const* argv) : argc(argc), argv(argv) {}

    CommandLine run() {
        bool optionsEnded = false;
        for (index = 1; index < argc; ++index) {
            const char* arg = argv[index];
            if (optionsEnded || arg[0] != '-' || arg[1] == '\0') {
                takePath(arg);
            } else if (std::strcmp(arg, "--") == 0) {
                optionsEnded = true;
            } else {
                takeOption(arg);
            }
        }
        if (result.trackPath.empty()) fail("no track file given");
        if (result.noView && !result.view.screenshotPath.empty()) {
            fail("--screenshot needs the viewer; it cannot be combined with --no-view");
        }
        if (result.help || result.version) result.error.clear();
        return result;
    }

private:
    void fail(const std::string& message) {
        if (result.error.empty()) result.error = message;
    }

    void takePath(const char* arg) {
        if (result.trackPath.empty()) {
            result.trackPath = arg;
        } else {
            fail(std::string("unexpected argument '") + arg + "'");
        }
    }

    // The argument after the current option; null (and a usage error) when missing.
    const char* takeValue(const char* option) {
        if (index + 1 >= argc) {
            fail(std::string(option) + " needs a value");
            return nullptr;
        }
        return argv[++index];
    }

    void takeOption(const char* arg) {
        if (std::strcmp(arg, "--help") == 0) {
            result.help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            result.version = true;
        } else if (std::strcmp(arg, "--no-view") == 0) {
            result.noView = true;
        } else if (std::strcmp(arg, "--screenshot") == 0) {
            if (const char* value = takeValue(arg)) takeScreenshotPath(value);
        } else if (std::strcmp(arg, "--keys") == 0) {
            if (const char* value = takeValue(arg)) result.view.keys = value;
        } else if (std::strcmp(arg, "--view") == 0) {
            if (const char* value = takeValue(arg)) takeViewStyle(value);
        } else if (std::strcmp(arg, "--frame") == 0) {
            result.view.frame = true;
        } else if (std::strcmp(arg, "-q") == 0 || std::strcmp(arg, "--quiet") == 0) {
            result.quiet = result.view.quiet = true;
        } else if (const ToolkitOption* option = findToolkitOption(arg)) {
            takeToolkitOption(*option);
        } else {
            fail(std::string("unknown option '") + arg + "'");
        }
    }

    // An empty name would mean an interactive window, which a script waits on forever.
    void takeScreenshotPath(const char* value) {
        if (*value == '\0') fail("--screenshot needs a file name");
        result.view.screenshotPath = value;
    }

    void takeViewStyle(const char* value) {
        if (std::strcmp(value, "flat") == 0 || std::strcmp(value, "solid") == 0) {
            result.view.solid = std::strcmp(value, "solid") == 0;
        } else {
            fail(std::string("--view takes flat or solid, not '") + value + "'");
        }
    }

    void takeToolkitOption(const ToolkitOption& option) {
        result.view.toolkitArgs.push_back(option.name);
        if (!option.takesValue) return;
        const char* value = takeValue(option.name);
        if (!value) return;
        result.view.toolkitArgs.push_back(value);
        if (std::strcmp(option.name, "-display") == 0) result.view.displayName = value;
    }

    int argc;
    const char* const* argv;
    int index = 0;
    CommandLine result;
};

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    return Parser(argc, argv).run();
}

const char* usageText() {
    return "Usage: strutwright [--no-view] [--screenshot FILE.png] [--keys STRING] TRACK\n"
           "Builds support structures at the marker nodes of TRACK, writes\n"
           "TRACK-new.zvtrack beside it and shows the result in a 3D view.\n"
           "\n"
           "  --no-view            generate and save only; open no window\n"
           "  --screenshot FILE    write the viewer's first frame as a PNG and exit\n"
           "  --keys STRING        apply these view keys to the camera first\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "\n"
           "Window options: -display DISPLAY, -geometry WxH+X+Y, -direct, -indirect,\n"
           "-iconic, -gldebug, -sync.\n"
           "View keys: a/d turn left/right, x/y look up/down, w/s forward/back,\n"
           "q/e right/left, r/f up/down, Escape quits.\n";
}
