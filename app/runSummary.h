// What a run tells the author on stderr once the output is written, so that
// a run that prints only "0" and "1" on stdout is not a mystery:
//
//   demo.zvtrack: 34 markers found
//     built: 13 columns, 12 braced legs, 7 crossbeams, 2 struts only
//     kept: none
//     added: 290 free nodes, 38 foundations, 180 tubes
//     clearance: none within 1.5
//   wrote demo.zvtrack-new.zvtrack
//
//   runSummary         those lines (without the program's prefix) for a run
//                      that got past the load: a note when the input was
//                      already processed (its comments begin with the
//                      banner), the placement's lines when markers were
//                      placed (placementSummary), "no markers: nothing to
//                      build (try --place 8 to place them)" instead of the
//                      counts when it has no markers (without the hint when
//                      --place found no place), the clearance line when the
//                      check ran, and the "wrote" line only when the output
//                      was written. Kinds and
//                      reasons with a count of 0 are left out. The
//                      placement's "left out" lines keep their kind; the
//                      others have none.
//   clearanceWarning   the line for a structure the check found (the program
//                      puts the input's name in front), named by its
//                      marker, with the member that comes closest and where:
//                      "clearance: column of the type-2 marker at 0.35 on
//                      segment 4 passes 0.20 from segment 12 at (31.2, 6.0,
//                      -8.4)" (segments from 0; the point is the support's).
//                      Such lines are of the kind kClearanceLines.
#pragma once

#include <string>
#include <vector>

#include "batch.h"
#include "reportLines.h"

// The files of a run, as the user named them.
struct RunFiles {
    std::string input;   // the track read
    std::string output;  // the track written
};

constexpr const char* kClearanceLines = "clearance";

std::vector<ReportLine> runSummary(const BatchResult& result, const RunFiles& files);
std::string clearanceWarning(const StructureConflict& conflict);
