#include "trackCheck.h"

#include <utility>

#include "curve.h"
#include "strutWright.h"
#include "trackJson.h"
#include "tubeEnds.h"
#include "zvlayout.h"

namespace {

// The format's framing, as the signed sizes the length words are compared with.
constexpr long long kCountedChunkFrame = zvlayout::kCountedChunkFrame;
constexpr long long kEnvcFrame = zvlayout::kEnvcFrame;
constexpr long long kCatwRecordMinSize = zvlayout::kCatwRecordMinSize;
constexpr long long kScobRecordMinSize = zvlayout::kScobRecordMinSize;

using Findings = std::vector<std::string>;

std::string sized(size_t count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

void checkTubeEnds(const ZvTrack& t, Findings* findings) {
    const Findings tubes = danglingTubeEnds(t);
    findings->insert(findings->end(), tubes.begin(), tubes.end());
}

void checkTrackNodeListCount(const ZvTrack& t, Findings* findings) {
    if (t.trackNodeLists.size() == t.segmentArray.size()) return;
    findings->push_back("trackNodeLists: " +
                        sized(t.trackNodeLists.size(), "track-node list", "track-node lists") +
                        " for " + sized(t.segmentArray.size(), "segment", "segments"));
}

void checkMarkersOnCurves(const ZvTrack& t, Findings* findings) {
    for (size_t i = 0; i < t.trackNodeLists.size(); ++i) {
        size_t markers = t.trackNodeLists[i].nodes.size();
        if (markers == 0 || followingBezier(static_cast<int>(i), &t) >= 0) continue;
        findings->push_back("segment " + std::to_string(i) + ": " +
                            sized(markers, "marker", "markers") +
                            " on a segment without a curve (the track has " +
                            sized(t.bezierArray.size(), "bezier", "beziers") +
                            (t.closedTrack ? ", closed)" : ", open)"));
    }
}

void checkNonFinite(const ZvTrack& t, Findings* findings) {
    forEachNonFiniteNumber(t, [findings](const std::string& path, const std::string& name) {
        findings->push_back(path + ": not a finite number (" + name + ")");
    });
}

void checkLength(const char* chunk, int stored, long long expected, Findings* findings) {
    if (stored == expected) return;
    findings->push_back(std::string(chunk) + ": length word " + std::to_string(stored) +
                        ", but its contents take " + std::to_string(expected));
}

void checkLengthWords(const ZvTrack& t, Findings* findings) {
    ExpectedLengths e = expectedLengths(t);
    checkLength("BEZR", t.bezrLength, e.bezr, findings);
    checkLength("FUND", t.fundLength, e.fund, findings);
    checkLength("RASC", t.rascLength, e.rasc, findings);
    checkLength("FREN", t.frenLength, e.fren, findings);
    checkLength("TUBE", t.tubeLength, e.tube, findings);
    checkLength("CATW", t.catwLength, e.catw, findings);
    checkLength("SCOB", t.scobLength, e.scob, findings);
    checkLength("ENVC", t.envcLength, e.envc, findings);
}

// Markers on a segment without a curve are a finding of checkMarkersOnCurves.
void checkGeneration(ZvTrack* t, Findings* findings) {
    for (ReportLine& warning : generationWarnings(t)) {
        if (warning.kind != kWithoutCurveLines) findings->push_back(std::move(warning.text));
    }
}

long long records(size_t count, int size) { return static_cast<long long>(count) * size; }

}  // namespace

ExpectedLengths expectedLengths(const ZvTrack& t) {
    ExpectedLengths e{};
    e.bezr = kCountedChunkFrame + records(t.bezierArray.size(), kBezierRecordSize);
    e.fund = kCountedChunkFrame + records(t.fundNodeArray.size(), kFundNodeRecordSize);
    e.fren = kCountedChunkFrame + records(t.freeNodeArray.size(), kFreeNodeRecordSize);
    e.tube = kCountedChunkFrame + records(t.tubeArray.size(), kTubeRecordSize);
    e.rasc = kCountedChunkFrame;
    for (const TrackNodeList& list : t.trackNodeLists)
        e.rasc += kTrackNodeListSize + records(list.nodes.size(), kTrackNodeRecordSize);
    e.catw = kCountedChunkFrame;
    for (const CatwRecord& c : t.catwRecords)
        e.catw += kCatwRecordMinSize + static_cast<long long>(c.data.size());
    e.scob = kCountedChunkFrame;
    for (const ScobRecord& s : t.scobRecords)
        e.scob += kScobRecordMinSize + static_cast<long long>(s.text1.size() + s.text2.size());
    e.envc = kEnvcFrame + static_cast<long long>(t.envcText1.size() + t.envcText2.size());
    return e;
}

std::vector<std::string> checkTrack(ZvTrack* track) {
    Findings findings;
    checkTubeEnds(*track, &findings);
    checkTrackNodeListCount(*track, &findings);
    checkMarkersOnCurves(*track, &findings);
    checkNonFinite(*track, &findings);
    checkLengthWords(*track, &findings);
    checkGeneration(track, &findings);
    return findings;
}
