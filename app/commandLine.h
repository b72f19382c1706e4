// The strutwright command line.
//
//   strutwright [OPTION]... [window options] TRACK
//
// parseCommandLine sorts the arguments by the conventions of parseArguments
// (commandOptions.h: -h, --help, -o FILE, --output=FILE, "--" ends the
// options): our own options, the window options (whole words where an option
// may stand: -display and -geometry, read here, and the flags the toolkit
// reads, kept in order) and the one track path. An unknown option, a missing
// value, an empty file name, a clearance radius that is not a finite number
// of at least 0 or a marker spacing that is not one of at least
// kMinimumMarkerSpacing, a -geometry readWindowGeometry does not read, a
// second path or a missing path sets `error` (a usage error), unless --help
// or --version was given, which win over everything else.
#pragma once

#include <string>

#include "clearance.h"
#include "viewer.h"

struct CommandLine {
    bool help = false;
    bool version = false;
    bool noView = false;
    bool quiet = false;      // -q: only warnings and errors on stderr
    bool verbose = false;    // --verbose: every line of each kind, not only the first few
    ViewRequest view;        // screenshot, keys, the window's geometry and the toolkit's options
    std::string trackPath;
    std::string outputPath;  // -o: empty means TRACK-new.zvtrack
    float clearance = kDefaultClearanceRadius;  // --clearance: the check's radius; 0: no check
    float placeSpacing = 0;  // --place: markers are placed this far apart first; 0: not at all
    std::string error;       // empty when the command line is usable
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The usage text, ending in a newline: the options, the view's keys and mouse
// actions, and what standard output carries.
std::string usageText();
