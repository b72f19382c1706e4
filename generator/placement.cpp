#include "placement.h"

#include <algorithm>
#include <cmath>

#include "angles.h"
#include "clearance.h"
#include "reportText.h"
#include "track.h"

namespace {

constexpr int kNoMarker = 0;
// A track longer than this many spacings (8,000 km at the default spacing)
// is placed only that far: every candidate costs a structure and a check.
constexpr double kMaxCandidates = 1e6;

// Places markers on one bare segment at a time.
class Placer {
public:
    Placer(ZvTrack* track, float spacing, PlacementReport* report)
        : track(track), spacing(spacing), line(*track, kDefaultClearanceRadius), report(report) {}

    // Places at candidates first..end - 1 of the track, on segment s, which
    // starts `start` along it.
    void placeOnSegment(int s, const SegmentCurve& curve, const std::vector<ArcPiece>& table,
                        double start, long first, long end) {
        const double length = table.back().length;
        float lastPlaced = -1;
        for (long k = first; k < end; ++k) {
            const double arc = candidateArc(k) - start;
            const float candidate = parameterAtArc(curve, table, arc);
            if (typeAt(s, candidate) == kNoMarker) {
                ++report->tooLow;
                continue;
            }
            const double step = spacing / kMoveDivisions;
            bool placed = false;
            for (int move = 0; move <= 2 * (kMoveDivisions / 2) && !placed; ++move) {
                // 0, +1, -1, +2, -2, ... steps
                const int steps = (move + 1) / 2 * (move % 2 == 1 ? 1 : -1);
                const double at = arc + steps * step;
                if (at < 0 || at > length) continue;
                TrackNodeRecord marker;
                marker.segmentPos = parameterAtArc(curve, table, at);
                marker.nodeType = typeAt(s, marker.segmentPos);
                if (marker.nodeType == kNoMarker || marker.segmentPos <= lastPlaced || !passes(s, marker)) continue;
                add(s, marker, candidate);
                lastPlaced = marker.segmentPos;
                placed = true;
            }
            if (!placed) report->leftOut.push_back({s, candidate});
        }
    }

    // Arc length from the start of segment 0 to candidate k.
    double candidateArc(long k) const { return (static_cast<double>(k) + 0.5) * spacing; }

private:
    // The node type the track calls for at t, or kNoMarker where it runs too low.
    int typeAt(int s, float t) {
        const float height = bezierCalc.GetPosSegmentNode(t, s, track).y;
        if (!(height >= kLowestMarker)) return kNoMarker;
        float bank = bankDegrees(trackCalc.GetBanking(s, t, track));
        if (bank > kHalfTurnDegrees) bank = kFullTurnDegrees - bank;
        if (bank >= kCrossbeamBank) return kMarkerCrossbeam;
        const float tieHeight = segmentSupportSettings(track->segmentArray[static_cast<size_t>(s)]).tieHeight;
        return tieSectionFits(height, tieHeight) ? kMarkerBracedLeg : kMarkerColumn;
    }

    bool passes(int s, const TrackNodeRecord& marker) {
        const std::vector<BuiltTube> tubes = planStructure(track, s, marker);
        if (tubes.empty()) return false;
        line.findPasses(tubes.data(), tubes.data() + tubes.size(), line.arcAt(s, marker.segmentPos), &found);
        return found.empty();
    }

    void add(int s, const TrackNodeRecord& marker, float candidate) {
        const float t = marker.segmentPos;
        addTrackNode(s, marker.nodeType, t, track);
        report->placed.push_back({s, t, marker.nodeType});
        if (t != candidate) report->moved.push_back({s, candidate, t, marker.nodeType});
        switch (marker.nodeType) {
        case kMarkerCrossbeam: ++report->crossbeams; break;
        case kMarkerBracedLeg: ++report->bracedLegs; break;
        default: ++report->columns; break;
        }
    }

    ZvTrack* track;
    float spacing;
    CentreLine line;
    PlacementReport* report;
    BezierCalc bezierCalc;
    TrackCalc trackCalc;
    std::vector<TubePass> found;
};

// Segments that take placed markers: a curve and an empty marker list.
std::vector<char> bareSegments(const ZvTrack& track) {
    std::vector<char> bare(track.segmentArray.size(), 0);
    for (size_t s = 0; s < bare.size() && s < track.trackNodeLists.size(); ++s) {
        const bool takes = track.trackNodeLists[s].nodes.empty() && followingBezier(static_cast<int>(s), &track) >= 0;
        bare[s] = static_cast<char>(takes);
    }
    return bare;
}

}  // namespace

PlacementReport placeMarkers(ZvTrack* track, float spacing) {
    PlacementReport report;
    if (!(spacing >= kMinimumMarkerSpacing) || !std::isfinite(spacing)) return report;
    const std::vector<char> bare = bareSegments(*track);
    Placer placer(track, spacing, &report);
    // Candidates k = 0, 1, ... lie at (k + 1/2) D from the start of segment 0.
    double start = 0;  // arc length at the start of the current segment
    long next = 0;     // the first candidate not yet passed
    for (size_t s = 0; s < bare.size(); ++s) {
        SegmentCurve curve;
        if (!segmentCurve(static_cast<int>(s), track, &curve)) continue;
        const std::vector<ArcPiece> table = arcPieces(curve, kPlacementTolerance);
        const double length = table.empty() ? 0.0 : table.back().length;
        if (!std::isfinite(length)) continue;
        if ((start + length) / spacing > kMaxCandidates) break;
        const long first = next;
        while (placer.candidateArc(next) < start + length) ++next;
        if (bare[s] && next > first) placer.placeOnSegment(static_cast<int>(s), curve, table, start, first, next);
        start += length;
    }
    return report;
}

std::string supportedTrackWarning(int tubes) {
    return "already holds " + std::to_string(tubes) +
           " support tubes: the placed markers get a second set of supports beside them";
}

std::vector<ReportLine> placementSummary(const PlacementReport& report, float spacing) {
    auto count = [](int n) { return static_cast<size_t>(std::max(n, 0)); };
    std::vector<ReportLine> lines;
    lines.push_back({"", "markers placed every " + shortNumber(spacing) + ": " +
                    listOf({{count(report.columns), "column", "columns"},
                            {count(report.bracedLegs), "braced leg", "braced legs"},
                            {count(report.crossbeams), "crossbeam", "crossbeams"}})});
    if (!report.moved.empty()) {
        lines.push_back({"", "  moved: " + std::to_string(report.moved.size()) +
                                 " (their supports would have come within " +
                                 shortNumber(kDefaultClearanceRadius) + " of the track)"});
    }
    for (const LeftOutMarker& marker : report.leftOut) {
        lines.push_back({kLeftOutLines, "  left out: segment " + std::to_string(marker.segment) + " at " +
                                            fixed(marker.position, 2) + " (no place within " +
                                            shortNumber(spacing / 2) + " keeps its supports clear of the track)"});
    }
    if (report.tooLow > 0) {
        lines.push_back({"", "  too low: " + listOf({{count(report.tooLow), "place", "places"}}) +
                                 " (the track runs below " + shortNumber(kLowestMarker) + " there)"});
    }
    return lines;
}
