// The strutwright program's batch path: load a track, build its supports with
// the driver's settings, put the banner line in front of its author comments,
// and save the result. Used by the program, the benchmarks, the fuzz target
// and the tests, so all of them run exactly what the program runs.
//
//   processTrack    the middle of the path, on a loaded document: the
//                   markers placed when options ask for it, generation (entry
//                   indices to options.entryOutput), the clearance check of
//                   what was built, and the banner.
//   runBatch        file to file: loads `input` into *track (which must start
//                   empty), processes it and saves it to `output`. The result
//                   says how far it got; *track holds what was generated even
//                   when the save failed.
//   runBatchOnBytes the same from bytes to bytes, for callers without files.
// Messages come back without the program's "strutwright: " prefix; every
// warning and the load and save messages of runBatch name the file.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "clearance.h"
#include "placement.h"
#include "reportLines.h"
#include "strutWright.h"
#include "zvtrack.h"

// The line put in front of the author comments of every track the batch path writes.
extern const char* const kBanner;

// The kind of the warnings about tubes naming nodes that do not exist
// (ReportLine); the generator's and the placement's warnings bring theirs.
constexpr const char* kTubeEndLines = "tube end";

struct BatchOptions {
    FILE* entryOutput = stdout;  // where the generator writes its entry indices; null: nowhere
    float clearanceRadius = kDefaultClearanceRadius;  // the check's radius; 0: no check
    float markerSpacing = 0;  // above 0: markers are placed this far apart before generation
};

enum class BatchStage {
    kLoadFailed,  // nothing was generated or written
    kSaveFailed,  // generated, but the output could not be written
    kDone,
};

struct BatchResult {
    BatchStage stage = BatchStage::kLoadFailed;
    // The loader's, then one per tube naming a node that does not exist
    // (kTubeEndLines), the placement's, and the generator's (with their
    // kinds), each beginning with the input's name.
    std::vector<ReportLine> warnings;
    std::string error;                  // why the load or the save failed
    bool alreadyProcessed = false;      // the input's comments began with the banner
    float markerSpacing = 0;    // the spacing markers were placed at; 0: none were
    PlacementReport placement;  // what the placement did
    GenerationReport generation;  // its warnings moved to `warnings`
    float clearanceRadius = 0;  // the radius the structures were checked at; 0: not checked
    BuiltClearance clearance;   // the structures that came within it
};

void processTrack(ZvTrack* track, const BatchOptions& options, BatchResult* result);
BatchResult runBatch(const std::string& input, const std::string& output, ZvTrack* track,
                     const BatchOptions& options);
BatchResult runBatchOnBytes(const unsigned char* input, size_t size,
                            std::vector<unsigned char>* output, ZvTrack* track,
                            const BatchOptions& options);
