#include "runSummary.h"

namespace {

struct Tally {
    size_t count;
    const char* singular;
    const char* plural;
};

// "13 columns, 2 struts only", leaving out what did not happen; "none" when nothing did.
std::string listOf(std::initializer_list<Tally> tallies) {
    std::string out;
    for (const Tally& tally : tallies) {
        if (tally.count == 0) continue;
        if (!out.empty()) out += ", ";
        out += std::to_string(tally.count) + " " + (tally.count == 1 ? tally.singular : tally.plural);
    }
    return out.empty() ? "none" : out;
}

size_t count(int value) { return value > 0 ? static_cast<size_t>(value) : 0; }

void addCounts(const GenerationReport& report, const std::string& input,
               std::vector<std::string>* lines) {
    const MarkerCounts& m = report.markers;
    lines->push_back(input + ": " + listOf({{count(m.found), "marker", "markers"}}) + " found");
    lines->push_back("  built: " + listOf({{count(m.columns), "column", "columns"},
                                           {count(m.bracedLegs), "braced leg", "braced legs"},
                                           {count(m.crossbeams), "crossbeam", "crossbeams"},
                                           {count(m.strutsOnly), "strut only", "struts only"}}));
    lines->push_back("  kept: " + listOf({{count(m.attachmentPoints), "attachment point", "attachment points"},
                                          {count(m.withoutCurve), "without a curve", "without a curve"},
                                          {count(m.outOfRange), "out of range", "out of range"},
                                          {count(m.nonFinite), "non-finite", "non-finite"}}));
    lines->push_back("  added: " + listOf({{report.freeNodesAdded, "free node", "free nodes"},
                                           {report.fundNodesAdded, "foundation", "foundations"},
                                           {report.tubesAdded, "tube", "tubes"}}));
}

}  // namespace

std::vector<std::string> runSummary(const BatchResult& result, const RunFiles& files) {
    const std::string& input = files.input;
    std::vector<std::string> lines;
    if (result.stage == BatchStage::kLoadFailed) return lines;
    if (result.alreadyProcessed) {
        lines.push_back(input + ": already processed by strutwright (its comments begin with the banner)");
    }
    if (result.generation.markers.found == 0) {
        lines.push_back(input + ": no markers: nothing to build");
    } else {
        addCounts(result.generation, input, &lines);
    }
    if (result.stage == BatchStage::kDone) lines.push_back("wrote " + files.output);
    return lines;
}
