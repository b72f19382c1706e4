#include "trackInfo.h"

#include <map>
#include <string>

namespace {

constexpr const char* kSegmentTypeNames[] = {"plain", "station", "lift", "transport", "brake"};
constexpr int kSegmentTypeCount = 5;

// "a: 1, b: 2" for a tally, or "none".
std::string tally(const std::map<int, size_t>& counts) {
    if (counts.empty()) return "none";
    std::string out;
    for (const auto& [key, count] : counts) {
        if (!out.empty()) out += ", ";
        out += std::to_string(key) + ": " + std::to_string(count);
    }
    return out;
}

void printSegments(const ZvTrack& t, std::ostream& out) {
    size_t byType[kSegmentTypeCount] = {};
    size_t otherTypes = 0;
    for (const SegmentRecord& s : t.segmentArray) {
        if (s.type >= 0 && s.type < kSegmentTypeCount)
            ++byType[s.type];
        else
            ++otherTypes;
    }
    out << "Segments: " << t.segmentArray.size() << " ("
        << (t.closedTrack ? "closed circuit" : "open track") << ")\n  by type:";
    for (int type = 0; type < kSegmentTypeCount; ++type)
        out << (type ? ", " : " ") << kSegmentTypeNames[type] << " " << byType[type];
    if (otherTypes) out << ", other " << otherTypes;
    out << "\n";
}

void printMarkers(const ZvTrack& t, std::ostream& out) {
    std::map<int, size_t> byNodeType, bySegment;
    size_t total = 0;
    for (size_t s = 0; s < t.trackNodeLists.size(); ++s) {
        for (const TrackNodeRecord& node : t.trackNodeLists[s].nodes) ++byNodeType[node.nodeType];
        size_t count = t.trackNodeLists[s].nodes.size();
        if (count) bySegment[static_cast<int>(s)] = count;
        total += count;
    }
    out << "Markers: " << total << "\n"
        << "  by node type: " << tally(byNodeType) << "\n"
        << "  by segment: " << tally(bySegment) << "\n";
}

void printSupports(const ZvTrack& t, std::ostream& out) {
    std::map<int, size_t> byTubeType;
    for (const TubeRecord& tube : t.tubeArray) ++byTubeType[tube.tubeType];
    out << "Foundation nodes: " << t.fundNodeArray.size() << "\n"
        << "Free nodes: " << t.freeNodeArray.size() << "\n"
        << "Tubes: " << t.tubeArray.size() << "\n"
        << "  by tube type: " << tally(byTubeType) << "\n";
}

void printTerrain(const ZvTrack& t, std::ostream& out) {
    out << "Terrain: ";
    if (t.hasTerrain)
        out << t.terrainRows << " rows x " << t.terrainColumns << " columns\n";
    else
        out << "none\n";
}

}  // namespace

void printTrackInfo(const ZvTrack& t, std::ostream& out) {
    out << "Version: " << int(t.major) << "." << int(t.minor) << "." << int(t.revision) << "."
        << int(t.markup) << "\n"
        << "Coaster style: " << t.coasterStyle << "\n"
        << "Beziers: " << t.bezierArray.size() << "\n";
    printSegments(t, out);
    printMarkers(t, out);
    printSupports(t, out);
    printTerrain(t, out);
    out << "Author comments: " << (t.authorComments ? t.authorComments : "") << "\n";
}
