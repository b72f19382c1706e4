#include "tubeEnds.h"

#include <sstream>

namespace {

std::string sized(size_t count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

bool outside(int index, size_t count) { return index < 0 || static_cast<size_t>(index) >= count; }

// The problem with one tube end, or "" when it names an existing node.
std::string tubeEndProblem(const ZvTrack& t, int kind, int segment, int index) {
    std::ostringstream out;
    switch (kind) {
        case kEndFundNode:
            if (outside(index, t.fundNodeArray.size()))
                out << "names foundation node " << index << ", but the track has "
                    << sized(t.fundNodeArray.size(), "foundation node", "foundation nodes");
            break;
        case kEndFreeNode:
            if (outside(index, t.freeNodeArray.size()))
                out << "names free node " << index << ", but the track has "
                    << sized(t.freeNodeArray.size(), "free node", "free nodes");
            break;
        case kEndTrackNode:
            if (outside(segment, t.trackNodeLists.size()))
                out << "names the track nodes of segment " << segment << ", but the track has "
                    << sized(t.trackNodeLists.size(), "track-node list", "track-node lists");
            else if (outside(index, t.trackNodeLists[segment].nodes.size()))
                out << "names track node " << index << " of segment " << segment
                    << ", but that segment has "
                    << sized(t.trackNodeLists[segment].nodes.size(), "track node", "track nodes");
            break;
        default:
            out << "has kind " << kind
                << ", not 1 (foundation node), 2 (free node) or 3 (track node)";
    }
    return out.str();
}

}  // namespace

std::vector<std::string> danglingTubeEnds(const ZvTrack& t) {
    std::vector<std::string> findings;
    for (size_t i = 0; i < t.tubeArray.size(); ++i) {
        const TubeRecord& tube = t.tubeArray[i];
        const std::string problems[2] = {tubeEndProblem(t, tube.kind1, tube.segment1, tube.index1),
                                         tubeEndProblem(t, tube.kind2, tube.segment2, tube.index2)};
        std::string line;
        for (int end = 0; end < 2; ++end) {
            if (problems[end].empty()) continue;
            line += (line.empty() ? "tubeArray[" + std::to_string(i) + "]: " : std::string("; ")) +
                    "end " + std::to_string(end + 1) + " " + problems[end];
        }
        if (!line.empty()) findings.push_back(line);
    }
    return findings;
}
