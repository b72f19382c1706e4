#include "placement.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "angles.h"
#include "clearance.h"
#include "reportText.h"
#include "track.h"

namespace {

constexpr int kNoMarker = 0;
// Candidate indices stay below this, whatever the track's length: placing
// stops long before.
constexpr double kCandidateIndexCap = 9e15;

// What became of a place tried for a candidate; of the places tried, the
// first outcome in this order tells why the marker was left out.
enum class Outcome { kPlaced, kNotClear, kNoFiniteBanking, kNotFinite, kNotTried };

// A bare segment being placed on.
struct BareSegment {
    int s;
    const SegmentCurve& curve;
    const std::vector<ArcPiece>& table;  // its arc-length table
    double start;                        // arc length from the start of segment 0
    float lastPlaced = -1;               // the curve parameter of its last marker
    double length() const { return table.back().length; }
};

// A candidate place: arc length along its segment, and curve parameter.
struct Candidate {
    double arc;
    float t;
};

// Places markers on one bare segment at a time.
class Placer {
public:
    Placer(ZvTrack* track, float spacing, const PlacementLimits& limits, PlacementReport* report)
        : track(track), spacing(spacing), limits(limits), line(*track, kDefaultClearanceRadius), report(report) {}

    // Places at the candidates of the segment from candidate `next` on;
    // returns the first candidate after the segment, or -1 when placing
    // stopped at a limit.
    long placeOnSegment(BareSegment& segment, long next) {
        long k = next;
        for (; candidateArc(k) < segment.start + segment.length(); ++k) {
            const double arc = candidateArc(k) - segment.start;
            const Candidate candidate{arc, parameterAtArc(segment.curve, segment.table, arc)};
            if (atLimit()) {
                report->stop.segment = segment.s;
                report->stop.position = candidate.t;
                report->stop.arc = candidateArc(k);
                return -1;
            }
            ++report->places;
            if (typeAt(segment.s, candidate.t) == kNoMarker) {
                ++report->tooLow;
                continue;
            }
            placeNear(segment, candidate);
        }
        return k;
    }

    // Arc length from the start of segment 0 to candidate k.
    double candidateArc(long k) const { return (static_cast<double>(k) + 0.5) * spacing; }

    // How many candidates lie before arc length `arc` (counted as
    // candidateArc compares).
    long candidatesBefore(double arc) const {
        const double estimate = std::ceil(arc / spacing - 0.5);
        long k = static_cast<long>(std::min(std::max(estimate, 0.0), kCandidateIndexCap));
        while (k > 0 && candidateArc(k - 1) >= arc) --k;
        while (k < static_cast<long>(kCandidateIndexCap) && candidateArc(k) < arc) ++k;
        return k;
    }

private:
    bool atLimit() {
        if (static_cast<long>(report->placed.size()) >= limits.markers) {
            report->stop = {PlacementLimit::kMarkers, limits.markers};
        } else if (report->places >= limits.places) {
            report->stop = {PlacementLimit::kPlaces, limits.places};
        }
        return report->stop.limit != PlacementLimit::kNone;
    }

    // Tries the candidate's place and those around it (0, +1, -1, +2, -2, ...
    // steps of D / kMoveDivisions, up to D/2) until one takes the marker.
    void placeNear(BareSegment& segment, const Candidate& candidate) {
        const double step = spacing / kMoveDivisions;
        Outcome worst = Outcome::kNotTried;
        for (int move = 0; move <= 2 * (kMoveDivisions / 2); ++move) {
            const int steps = (move + 1) / 2 * (move % 2 == 1 ? 1 : -1);
            const double at = candidate.arc + steps * step;
            if (at < 0 || at > segment.length()) continue;
            TrackNodeRecord marker;
            marker.segmentPos = parameterAtArc(segment.curve, segment.table, at);
            marker.nodeType = typeAt(segment.s, marker.segmentPos);
            if (marker.nodeType == kNoMarker || marker.segmentPos <= segment.lastPlaced) continue;
            const Outcome outcome = tryPlace(segment.s, marker);
            if (outcome == Outcome::kPlaced) {
                add(segment.s, marker, candidate.t);
                segment.lastPlaced = marker.segmentPos;
                return;
            }
            worst = std::min(worst, outcome);
        }
        report->leftOut.push_back({segment.s, candidate.t, reasonFor(worst)});
    }

    static LeftOutReason reasonFor(Outcome worst) {
        switch (worst) {
        case Outcome::kNoFiniteBanking: return LeftOutReason::kNoFiniteBanking;
        case Outcome::kNotFinite: return LeftOutReason::kNotFinite;
        default: return LeftOutReason::kNotClear;
        }
    }

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

    Outcome tryPlace(int s, const TrackNodeRecord& marker) {
        if (!std::isfinite(trackCalc.GetBanking(s, marker.segmentPos, track))) return Outcome::kNoFiniteBanking;
        const std::vector<BuiltTube> tubes = planStructure(track, s, marker);
        if (tubes.empty()) return Outcome::kNotFinite;
        const bool clear = !line.anyConflict(tubes.data(), tubes.data() + tubes.size(), line.arcAt(s, marker.segmentPos));
        return clear ? Outcome::kPlaced : Outcome::kNotClear;
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
    PlacementLimits limits;
    CentreLine line;
    PlacementReport* report;
    BezierCalc bezierCalc;
    TrackCalc trackCalc;
};

// Segments that take placed markers: a curve and an empty marker list.
std::vector<char> bareSegments(const ZvTrack& track, PlacementReport* report) {
    std::vector<char> bare(track.segmentArray.size(), 0);
    for (size_t s = 0; s < bare.size() && s < track.trackNodeLists.size(); ++s) {
        const bool curved = followingBezier(static_cast<int>(s), &track) >= 0;
        const bool takes = curved && track.trackNodeLists[s].nodes.empty();
        report->curvedSegments += curved;
        report->bareSegments += takes;
        bare[s] = static_cast<char>(takes);
    }
    return bare;
}

// Why nothing was placed, where one reason covers it; empty otherwise.
std::string whyNone(const PlacementReport& report, float spacing) {
    if (report.curvedSegments == 0) return "the track has no segment with a curve";
    if (report.bareSegments == 0) return "every segment with a curve has markers of its own";
    if (report.places == 0) {
        return "no place every " + shortNumber(spacing) + " along the track, the first at " +
               shortNumber(spacing / 2) + ", falls on a segment without markers";
    }
    if (report.tooLow == report.places) return "every place is lower than " + shortNumber(kLowestMarker);
    return "";
}

std::string leftOutLine(const LeftOutMarker& marker, float spacing) {
    std::string why;
    switch (marker.reason) {
    case LeftOutReason::kNoFiniteBanking: why = "the track's bank is not a number there"; break;
    case LeftOutReason::kNotFinite: why = "its supports would not be finite numbers"; break;
    case LeftOutReason::kNotClear:
        why = "no place within " + shortNumber(spacing / 2) + " keeps its supports clear of the track";
        break;
    }
    return "  left out: segment " + std::to_string(marker.segment) + " at " + fixed(marker.position, 2) + " (" +
           why + ")";
}

std::string stopLine(const PlacementStop& stop) {
    const std::string limit = stop.limit == PlacementLimit::kMarkers
                                  ? "placing stops at " + std::to_string(stop.count) + " markers"
                                  : "placing stops after " + std::to_string(stop.count) + " places";
    return "  stopped: segment " + std::to_string(stop.segment) + " at " + fixed(stop.position, 2) + ", " +
           fixed(stop.arc, 0) + " along the track (" + limit + ")";
}

}  // namespace

PlacementReport placeMarkers(ZvTrack* track, float spacing, const PlacementLimits& limits) {
    PlacementReport report;
    const std::vector<char> bare = bareSegments(*track, &report);
    if (!(spacing >= kMinimumMarkerSpacing) || !std::isfinite(spacing)) return report;
    Placer placer(track, spacing, limits, &report);
    // Candidates k = 0, 1, ... lie at (k + 1/2) D from the start of segment 0.
    double start = 0;  // arc length at the start of the current segment
    long next = 0;     // the first candidate not yet passed
    for (size_t s = 0; s < bare.size(); ++s) {
        SegmentCurve curve;
        if (!segmentCurve(static_cast<int>(s), track, &curve)) continue;
        const std::vector<ArcPiece> table = arcPieces(curve, kPlacementTolerance);
        const double length = table.empty() ? 0.0 : table.back().length;
        if (!std::isfinite(length)) continue;
        BareSegment segment{static_cast<int>(s), curve, table, start};
        next = bare[s] ? placer.placeOnSegment(segment, next) : std::max(next, placer.candidatesBefore(start + length));
        if (next < 0) break;
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
    std::string placed = "markers placed every " + shortNumber(spacing) + ": " +
                         listOf({{count(report.columns), "column", "columns"},
                                 {count(report.bracedLegs), "braced leg", "braced legs"},
                                 {count(report.crossbeams), "crossbeam", "crossbeams"}});
    const std::string why = report.placed.empty() ? whyNone(report, spacing) : "";
    lines.push_back({"", why.empty() ? placed : placed + " (" + why + ")"});
    if (!report.moved.empty()) {
        lines.push_back({"", "  moved: " + std::to_string(report.moved.size()) +
                                 " (their supports would have come within " +
                                 shortNumber(kDefaultClearanceRadius) + " of the track)"});
    }
    std::transform(report.leftOut.begin(), report.leftOut.end(), std::back_inserter(lines),
                   [spacing](const LeftOutMarker& marker) -> ReportLine {
                       return {kLeftOutLines, leftOutLine(marker, spacing)};
                   });
    if (report.tooLow > 0) {
        lines.push_back({"", "  too low: " + listOf({{count(report.tooLow), "place", "places"}}) +
                                 " (the track runs below " + shortNumber(kLowestMarker) + " there)"});
    }
    if (report.stop.limit != PlacementLimit::kNone) lines.push_back({"", stopLine(report.stop)});
    return lines;
}
