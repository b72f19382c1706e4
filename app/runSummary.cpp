#include "runSummary.h"

#include <utility>

#include "reportText.h"

namespace {

size_t count(int value) { return value > 0 ? static_cast<size_t>(value) : 0; }

void addCounts(const GenerationReport& report, const std::string& input,
               std::vector<ReportLine>* lines) {
    const MarkerCounts& m = report.markers;
    auto add = [lines](const std::string& text) { lines->push_back({"", text}); };
    add(input + ": " + listOf({{count(m.found), "marker", "markers"}}) + " found");
    add("  built: " + listOf({{count(m.columns), "column", "columns"},
                              {count(m.bracedLegs), "braced leg", "braced legs"},
                              {count(m.crossbeams), "crossbeam", "crossbeams"},
                              {count(m.strutsOnly), "strut only", "struts only"}}));
    add("  kept: " + listOf({{count(m.attachmentPoints), "attachment point", "attachment points"},
                             {count(m.withoutCurve), "without a curve", "without a curve"},
                             {count(m.outOfRange), "out of range", "out of range"},
                             {count(m.nonFinite), "non-finite", "non-finite"}}));
    add("  added: " + listOf({{report.freeNodesAdded, "free node", "free nodes"},
                              {report.fundNodesAdded, "foundation", "foundations"},
                              {report.tubesAdded, "tube", "tubes"}}));
}

std::string clearanceLine(const BatchResult& result) {
    const std::string radius = shortNumber(result.clearanceRadius);
    const size_t conflicts = result.clearance.structures.size();
    if (conflicts == 0) return "  clearance: none within " + radius;
    return "  clearance: " + listOf({{conflicts, "structure comes", "structures come"}}) + " within " +
           radius + " of the track";
}

}  // namespace

std::vector<ReportLine> runSummary(const BatchResult& result, const RunFiles& files) {
    const std::string& input = files.input;
    std::vector<ReportLine> lines;
    if (result.stage == BatchStage::kLoadFailed) return lines;
    if (result.alreadyProcessed) {
        lines.push_back({"", input + ": already processed by strutwright (its comments begin with the banner)"});
    }
    if (result.markerSpacing > 0) {
        for (ReportLine& line : placementSummary(result.placement, result.markerSpacing)) {
            if (line.text.front() != ' ') line.text.insert(0, input + ": ");
            lines.push_back(std::move(line));
        }
    }
    if (result.generation.markers.found == 0) {
        // A placement that placed nothing has had its say above.
        const std::string hint =
            result.markerSpacing > 0 ? "" : " (try --place " + shortNumber(kDefaultMarkerSpacing) + " to place them)";
        lines.push_back({"", input + ": no markers: nothing to build" + hint});
    } else {
        addCounts(result.generation, input, &lines);
        if (result.clearanceRadius > 0) lines.push_back({"", clearanceLine(result)});
    }
    if (result.stage == BatchStage::kDone) lines.push_back({"", "wrote " + files.output});
    return lines;
}

std::string clearanceWarning(const StructureConflict& conflict) {
    const BuiltStructure& built = conflict.structure;
    const CentreLinePass& pass = conflict.pass;
    return "clearance: " + std::string(memberWord(conflict.member.role)) + " of the type-" + std::to_string(built.nodeType) +
           " marker at " + fixed(built.position, 2) + " on segment " + std::to_string(built.segment) +
           " passes " + fixed(pass.distance, 2) + " from segment " + std::to_string(pass.segment) + " at " +
           pointText(pass.supportPoint, 1);
}
