// The strutwright command line.
//
//   strutwright [--no-view] [--screenshot FILE.png] [--keys STRING]
//               [toolkit options] TRACK
//
// parseCommandLine sorts the arguments: our own options, the window toolkit's
// options (kept in order with their values, for the toolkit to read), and the
// one track path. "--" ends the options. An unknown option, a missing value,
// a second path or a missing path sets `error` (a usage error), unless --help
// or --version was given, which win over everything else.
#pragma once

#include <string>

#include "viewer.h"

struct CommandLine {
    bool help = false;
    bool version = false;
    bool noView = false;
    bool quiet = false;      // -q: only warnings and errors on stderr
    ViewRequest view;        // screenshot, keys and the toolkit's options
    std::string trackPath;
    std::string error;       // empty when the command line is usable
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The usage text, ending in a newline.
const char* usageText();
