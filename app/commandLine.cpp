#include "commandLine.h"

#include <algorithm>

#include "commandOptions.h"
#include "placement.h"
#include "viewKeys.h"
#include "windowGeometry.h"

namespace {

enum OptionCode : int {
    kHelp, kVersion, kQuiet, kVerbose, kOutput, kNoView, kScreenshot, kKeys, kView, kFrame, kClearance,
    kPlace, kDisplay, kGeometry, kDirect, kIndirect, kIconic, kGlDebug, kSync,
};

// The window options are the toolkit's, written its way: whole words.
// -display and -geometry are read here; the flags go to the toolkit as they are.
constexpr OptionForm kWindowOption = OptionForm::kWholeWord;

const std::vector<OptionSpec> kOptions = {
    {"help", 'h', false, kHelp},         {"version", 'V', false, kVersion},
    {"quiet", 'q', false, kQuiet},       {"output", 'o', true, kOutput},
    {"no-view", 0, false, kNoView},      {"screenshot", 0, true, kScreenshot},
    {"keys", 0, true, kKeys},            {"view", 0, true, kView},
    {"frame", 0, false, kFrame},         {"clearance", 0, true, kClearance},
    {"place", 0, true, kPlace},          {"verbose", 0, false, kVerbose},
    {"display", 0, true, kDisplay, kWindowOption},
    {"geometry", 0, true, kGeometry, kWindowOption},
    {"direct", 0, false, kDirect, kWindowOption},
    {"indirect", 0, false, kIndirect, kWindowOption},
    {"iconic", 0, false, kIconic, kWindowOption},
    {"gldebug", 0, false, kGlDebug, kWindowOption},
    {"sync", 0, false, kSync, kWindowOption},
};

// The option's word as the toolkit reads it.
std::string wholeWord(int code) {
    const auto spec = std::find_if(kOptions.begin(), kOptions.end(),
                                   [code](const OptionSpec& given) { return given.code == code; });
    return std::string("-") + spec->longName;
}

class Parser {
public:
    CommandLine run(int argc, const char* const* argv) {
        const ParsedArguments parsed =
            parseArguments(std::vector<std::string>(argv + 1, argv + argc), kOptions);
        fail(parsed.error);
        for (const GivenOption& option : parsed.options) take(option);
        for (const std::string& operand : parsed.operands) takePath(operand);
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

    void take(const GivenOption& option) {
        switch (option.code) {
            case kHelp: result.help = true; break;
            case kVersion: result.version = true; break;
            case kQuiet: result.quiet = result.view.quiet = true; break;
            case kVerbose: result.verbose = true; break;
            case kOutput: takeFileName("--output", option.value, &result.outputPath); break;
            case kNoView: result.noView = true; break;
            case kScreenshot: takeFileName("--screenshot", option.value, &result.view.screenshotPath); break;
            case kKeys: result.view.keys = option.value; break;
            case kView: takeViewStyle(option.value); break;
            case kFrame: result.view.frame = true; break;
            case kClearance: fail(readNumber("--clearance", option.value, 0, &result.clearance)); break;
            case kPlace: fail(readNumber("--place", option.value, kMinimumMarkerSpacing, &result.placeSpacing)); break;
            case kDisplay:
                result.view.displayName = option.value;
                result.view.toolkitArgs.insert(result.view.toolkitArgs.end(),
                                               {wholeWord(option.code), option.value});
                break;
            case kGeometry: fail(readWindowGeometry(option.value, &result.view.geometry)); break;
            case kDirect: case kIndirect: case kIconic: case kGlDebug: case kSync:
                result.view.toolkitArgs.push_back(wholeWord(option.code));
                break;
            default: break;
        }
    }

    void takePath(const std::string& word) {
        if (result.trackPath.empty()) {
            result.trackPath = word;
        } else {
            fail("unexpected argument '" + word + "'");
        }
    }

    // An empty screenshot name would mean an interactive window, which a
    // script waits on forever; an empty output name is no file at all.
    void takeFileName(const char* option, const std::string& value, std::string* name) {
        if (value.empty()) fail(std::string(option) + " needs a file name");
        *name = value;
    }

    void takeViewStyle(const std::string& value) {
        if (value == "flat" || value == "solid") {
            result.view.solid = value == "solid";
        } else {
            fail("--view takes flat or solid, not '" + value + "'");
        }
    }

    CommandLine result;
};

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    return Parser().run(argc, argv);
}

std::string usageText() {
    std::string text =
        "Usage: strutwright [OPTION]... TRACK\n"
        "Builds support structures at the marker nodes of TRACK, writes the result to\n"
        "TRACK-new.zvtrack beside it (or to the -o file) and shows it in a 3D view.\n"
        "\n"
        "  -o, --output=FILE      write the result to FILE instead\n"
        "      --no-view          generate and save only; open no window\n"
        "      --screenshot=FILE  write the viewer's first frame as a PNG and exit\n"
        "      --keys=STRING      apply these view keys to the camera first\n"
        "      --view=flat|solid  the view to start in (default flat)\n"
        "      --frame            start framed on the whole track\n"
        "      --clearance=R      warn of supports within R of the track (default\n"
        "                         1.5; 0 turns the check off)\n"
        "      --place=D          first place markers every D along the track where\n"
        "                         it has none (D at least 1; 8 is a good start)\n"
        "  -q, --quiet            print only warnings and errors\n"
        "      --verbose          print every warning and left-out line (otherwise\n"
        "                         the first 20 of each kind)\n"
        "  -h, --help             show this text and exit\n"
        "  -V, --version          show the version and exit\n"
        "\n"
        "Window options, each a whole word: -display DISPLAY, -geometry WxH{+-}X{+-}Y\n"
        "(the size, the place or both), -direct, -indirect, -iconic, -gldebug, -sync.\n"
        "\n"
        "Keys and mouse of the view (F1 there lists them too; --keys takes the\n"
        "letters, which act in lower case only):\n";
    for (const char* line : kViewKeyLines) text += std::string(line) + "\n";
    text +=
        "\n"
        "Standard output carries the generator's style entries, one line each (0\n"
        "and 1), kept for scripts that read them; the summary, warnings and errors\n"
        "go to standard error.\n"
        "\n"
        "Exit status: 0 done, 1 the track could not be read or written or the view\n"
        "failed, 2 usage error. See strutwright(1).\n";
    return text;
}
