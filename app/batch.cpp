#include "batch.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>

#include "track.h"

const char* const kBanner = "--- QTR V1.0 pre-beta ---\r\n";

namespace {

// The ends of the path: a load into the document (1 on success) and a save of
// it ("" on success, else why not).
using LoadStep = std::function<int(ZvLoadReport*)>;
using SaveStep = std::function<std::string()>;

// A load that read no chunk found nothing to work on. `name` goes in front of
// that message; the library's own messages carry it already.
bool takeLoad(int loaded, const ZvLoadReport& report, const std::string& name,
              BatchResult* result) {
    if (loaded && report.chunksRead > 0) {
        if (!report.warning.empty()) result->warnings.push_back({"", report.warning});
        return true;
    }
    result->error = !loaded && !report.error.empty() ? report.error : name + "not a track file: no track data found";
    return false;
}

// The document keeps the new text itself, every byte of the old one included.
void prependBanner(ZvTrack* track) {
    setOwnedAuthorComments(kBanner + authorCommentsText(track), track);
}

// Tubes naming nodes that do not exist would join whatever the generator adds
// under those indices: the author hears of each before it happens.
void warnAboutTubeEnds(const ZvTrack& track, BatchResult* result) {
    for (std::string& finding : danglingTubeEnds(track)) {
        result->warnings.push_back({kTubeEndLines, std::move(finding)});
    }
}

// The warnings from `first` on, named as the load's are.
void nameWarnings(const std::string& name, size_t first, BatchResult* result) {
    for (size_t i = first; i < result->warnings.size(); ++i) result->warnings[i].text.insert(0, name);
}

BatchResult runSteps(const LoadStep& load, const std::string& name, const SaveStep& save,
                     ZvTrack* track, const BatchOptions& options) {
    BatchResult result;
    ZvLoadReport report;
    if (!takeLoad(load(&report), report, name, &result)) return result;
    const size_t unnamed = result.warnings.size();  // the loader's name the file already
    warnAboutTubeEnds(*track, &result);
    result.alreadyProcessed = authorCommentsText(track).rfind(kBanner, 0) == 0;
    processTrack(track, options, &result);
    nameWarnings(name, unnamed, &result);
    result.error = save();
    result.stage = result.error.empty() ? BatchStage::kDone : BatchStage::kSaveFailed;
    return result;
}

}  // namespace

void processTrack(ZvTrack* track, const BatchOptions& options, BatchResult* result) {
    if (options.markerSpacing > 0) {
        // Not refused: the author asked for it, but may not know the track
        // was supported already (strutwright's own output, say).
        const int tubes = getTotalSupport(track);
        if (tubes > 0) result->warnings.push_back({"", supportedTrackWarning(tubes)});
        result->markerSpacing = options.markerSpacing;
        result->placement = placeMarkers(track, options.markerSpacing);
    }
    result->generation = generateWithDriverDefaults(track, options.entryOutput);
    std::vector<ReportLine>& warnings = result->generation.warnings;
    std::move(warnings.begin(), warnings.end(), std::back_inserter(result->warnings));
    warnings.clear();
    if (options.clearanceRadius > 0) {
        result->clearanceRadius = options.clearanceRadius;
        result->clearance = checkBuiltStructures(*track, result->generation, options.clearanceRadius);
    }
    prependBanner(track);
}

BatchResult runBatch(const std::string& input, const std::string& output, ZvTrack* track,
                     const BatchOptions& options) {
    auto load = [&](ZvLoadReport* report) { return ZvOpen(input.c_str(), track, report); };
    auto save = [&]() -> std::string {
        std::string error;
        if (ZvSave(output.c_str(), track, &error)) return "";
        return "cannot write " + (error.empty() ? output + ": the save failed" : error);
    };
    return runSteps(load, input + ": ", save, track, options);
}

BatchResult runBatchOnBytes(const unsigned char* input, size_t size,
                            std::vector<unsigned char>* output, ZvTrack* track,
                            const BatchOptions& options) {
    auto load = [&](ZvLoadReport* report) { return ZvOpenMemory(input, size, track, report); };
    auto save = [&]() -> std::string {
        return ZvSaveMemory(track, output) ? "" : "the track could not be encoded";
    };
    return runSteps(load, "", save, track, options);
}
