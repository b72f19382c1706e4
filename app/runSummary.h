// What a run tells the author on stderr once the output is written, so that
// a run that prints only "0" and "1" on stdout is not a mystery:
//
//   demo.zvtrack: 34 markers found
//     built: 13 columns, 12 braced legs, 7 crossbeams, 2 struts only
//     kept: none
//     added: 290 free nodes, 38 foundations, 180 tubes
//   wrote demo.zvtrack-new.zvtrack
//
//   runSummary  those lines (without the program's prefix) for a run that got
//               past the load: a note when the input was already processed
//               (its comments begin with the banner), "no markers: nothing to
//               build" instead of the counts when it has no markers, and the
//               "wrote" line only when the output was written. Kinds and
//               reasons with a count of 0 are left out.
#pragma once

#include <string>
#include <vector>

#include "batch.h"

// The files of a run, as the user named them.
struct RunFiles {
    std::string input;   // the track read
    std::string output;  // the track written
};

std::vector<std::string> runSummary(const BatchResult& result, const RunFiles& files);
