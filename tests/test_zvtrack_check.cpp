// zvtrack check: silent on the project's clean tracks, and one finding naming
// the element for each planted inconsistency.
#include <cmath>
#include <limits>

#include <gmock/gmock.h>

#include "trackCheck.h"
#include "zvtrack_test_support.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using zvtest::ScratchDir;

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The demo track as its file gives it, with one tube per end kind added
// (length word moved as the editing operations would), so ends can be damaged.
std::unique_ptr<ZvTrack> demoWithTubes(const ScratchDir& dir) {
    auto track = zvtest::demoTrack();
    int fund = addFundNode(0, 0, 1, 0, 0, 0, 1, 0, 1, track.get());
    int free = addFreeNode(1, 5, 1, track.get());
    addSupport(kEndFundNode, fund, 0, kEndFreeNode, free, 0, 1, 0, 0, track.get());
    addSupport(kEndTrackNode, 0, 1, kEndFreeNode, free, 0, 1, 0, 0, track.get());
    return zvtest::throughFile(track.get(), dir);
}

}  // namespace

// The demo track has markers on its closing segment, which runs back to bezier 0.
TEST(ZvtrackCheckClean, NewAndDemoTracksHaveNoFindings) {
    ScratchDir dir;
    EXPECT_THAT(checkTrack(zvtest::newTrack().get()), IsEmpty());
    EXPECT_THAT(checkTrack(zvtest::demoTrack().get()), IsEmpty());
    EXPECT_THAT(checkTrack(zvtest::throughFile(zvtest::demoTrack().get(), dir).get()), IsEmpty());
    EXPECT_THAT(checkTrack(demoWithTubes(dir).get()), IsEmpty());
}

TEST(ZvtrackCheckClean, VariableRecordsCountTheirBytes) {
    auto track = zvtest::newTrack();
    CatwRecord walkway;
    walkway.data.assign(5, 'x');
    track->catwRecords.push_back(walkway);
    ScobRecord object;
    object.text1 = "ab";
    object.text2 = "c";
    track->scobRecords.push_back(object);
    track->envcText1 = "sky";
    track->envcText2 = "grass";
    addSegment(kSegmentLift, 1, 0, Color{}, Color{}, Color{}, 0, 0, track.get());
    addTrackNode(0, 2, 0.5f, track.get());
    ExpectedLengths e = expectedLengths(*track);
    EXPECT_EQ(e.catw, 40 + 28 + 5);
    EXPECT_EQ(e.scob, 40 + 4 + 2 + 4 + 1 + 64 + 16);
    EXPECT_EQ(e.envc, 44 + 3 + 5);
    EXPECT_EQ(e.rasc, 40 + 4 + 24);
    EXPECT_EQ(e.rasc, track->rascLength);  // what the editing operations carried
}

TEST(ZvtrackCheckFindings, TubeEndsNamingMissingNodes) {
    ScratchDir dir;
    auto track = demoWithTubes(dir);
    TubeRecord& toFree = track->tubeArray[0];
    toFree.index1 = 3;   // foundation node 3 of 1
    toFree.index2 = -1;  // free node -1
    TubeRecord& toTrack = track->tubeArray[1];
    toTrack.segment1 = 10;  // no list 10
    toTrack.kind2 = 9;
    EXPECT_THAT(checkTrack(track.get()),
                ElementsAre("tubeArray[0]: end 1 names foundation node 3, but the track has 1 "
                            "foundation node; end 2 names free node -1, but the track has 1 "
                            "free node",
                            "tubeArray[1]: end 1 names the track nodes of segment 10, but the "
                            "track has 10 track-node lists; end 2 has kind 9, not 1 (foundation "
                            "node), 2 (free node) or 3 (track node)"));
    toTrack.segment1 = 1;
    toTrack.index1 = 6;  // segment 1 holds 6 markers
    toTrack.kind2 = kEndFreeNode;
    toFree = TubeRecord{kEndFundNode, 0, 0, kEndFreeNode, 0, 0};
    EXPECT_THAT(checkTrack(track.get()), ElementsAre("tubeArray[1]: end 1 names track node 6 of "
                                                "segment 1, but that segment has 6 track nodes"));
}

TEST(ZvtrackCheckFindings, TrackNodeListsNotMatchingSegments) {
    ScratchDir dir;
    auto track = zvtest::throughFile(zvtest::demoTrack().get(), dir);
    track->trackNodeLists.emplace_back();
    track->rascLength += kTrackNodeListSize;
    EXPECT_THAT(checkTrack(track.get()), ElementsAre("trackNodeLists: 11 track-node lists for 10 segments"));
}

TEST(ZvtrackCheckFindings, MarkersOnASegmentWithoutCurve) {
    ScratchDir dir;
    auto track = zvtest::throughFile(zvtest::demoTrack().get(), dir);
    track->closedTrack = 0;  // the last segment loses the way back to bezier 0
    EXPECT_THAT(checkTrack(track.get()), ElementsAre("segment 9: 1 marker on a segment without a "
                                                "curve (the track has 10 beziers, open)"));
}

TEST(ZvtrackCheckFindings, NonFiniteNumbersAreNamedByTheirPlace) {
    ScratchDir dir;
    auto track = demoWithTubes(dir);
    track->bezierArray[2].controlIn.y = kNan;
    track->trackNodeLists[4].nodes[1].segmentPos = kInf;
    track->fundNodeArray[0].angle = -kInf;
    track->freeNodeArray[0].z = kNan;
    track->tubeArray[1].tubeSize = kInf;
    track->segmentArray[1].lift.lift3 = kNan;
    EXPECT_THAT(checkTrack(track.get()),
                ElementsAre("bezierArray[2].controlIn.y: not a finite number (nan)",
                            "segmentArray[1].lift.lift3: not a finite number (nan)",
                            "fundNodeArray[0].angle: not a finite number (-inf)",
                            "trackNodeLists[4].nodes[1].segmentPos: not a finite number (inf)",
                            "freeNodeArray[0].z: not a finite number (nan)",
                            "tubeArray[1].tubeSize: not a finite number (inf)",
                            // Bezier 2 ends segment 1, whose marker 0 a tube holds.
                            "segment 1: the marker at 0.3 along it gives non-finite coordinates; a run leaves it in place",
                            "segment 1: the marker at 0.45 along it gives non-finite coordinates; a run leaves it in place",
                            "segment 1: the marker at 0.6 along it gives non-finite coordinates; a run leaves it in place",
                            "segment 1: the marker at 0.75 along it gives non-finite coordinates; a run leaves it in place",
                            "segment 1: the marker at 0.9 along it gives non-finite coordinates; a run leaves it in place",
                            "segment 4: the marker at inf along it gives non-finite coordinates; a run leaves it in place"));
}

// What strutwright would warn of, in its words and after the file's own
// findings: a marker past its segment's end, a brace angle of 89 degrees (the
// blue of colour 3), and markers on a segment without a curve, which check
// words once, as its own finding.
TEST(ZvtrackCheckFindings, WhatStrutwrightWouldWarnOfComesLastInItsWords) {
    ScratchDir dir;
    auto track = zvtest::throughFile(zvtest::demoTrack().get(), dir);
    track->trackNodeLists[3].nodes[2].segmentPos = 1.5f;
    track->segmentArray[2].color3 = createColorARGB(255, 5, 255, 89);
    track->closedTrack = 0;
    EXPECT_THAT(checkTrack(track.get()),
                ElementsAre("segment 9: 1 marker on a segment without a curve (the track has 10 beziers, open)",
                            "brace angle 89 degrees is nearly horizontal; braced legs stand far from their columns",
                            "segment 3: the marker at 1.5 lies outside 0..1 along it; a run leaves it in place"));
    EXPECT_EQ(track->trackNodeLists[3].nodes.size(), 4u) << "nothing is built";
    EXPECT_TRUE(track->tubeArray.empty());
}

TEST(ZvtrackCheckFindings, NonFiniteTerrainHeightInUsedPart) {
    auto track = zvtest::newTrack();
    track->hasTerrain = 1;
    track->terrainRows = 2;
    track->terrainColumns = 3;
    setTerrainHeight(1, 2, kNan, track.get());
    setTerrainHeight(1, 3, kNan, track.get());  // outside the used columns
    EXPECT_THAT(checkTrack(track.get()), ElementsAre("terrainHeights[1][2]: not a finite number (nan)"));
}

TEST(ZvtrackCheckFindings, EachCheckedLengthWordIsNamed) {
    struct Case {
        const char* chunk;
        int ZvTrack::*length;
    };
    const Case cases[] = {{"BEZR", &ZvTrack::bezrLength}, {"FUND", &ZvTrack::fundLength},
                          {"RASC", &ZvTrack::rascLength}, {"FREN", &ZvTrack::frenLength},
                          {"TUBE", &ZvTrack::tubeLength}, {"CATW", &ZvTrack::catwLength},
                          {"SCOB", &ZvTrack::scobLength}, {"ENVC", &ZvTrack::envcLength}};
    ScratchDir dir;
    auto clean = demoWithTubes(dir);
    for (const Case& c : cases) {
        ZvTrack track = *clean;
        int stored = track.*c.length + 1;
        track.*c.length = stored;
        std::vector<std::string> findings = checkTrack(&track);
        ASSERT_EQ(findings.size(), 1u) << c.chunk;
        EXPECT_EQ(findings[0], std::string(c.chunk) + ": length word " + std::to_string(stored) +
                                   ", but its contents take " + std::to_string(stored - 1));
    }
}

TEST(ZvtrackCheckFindings, UncheckedLengthWordsStaySilent) {
    auto track = zvtest::demoTrack();
    track->infoLength = 12345;
    track->segmLength = 1;
    track->trckLength = 2;
    track->suppLength = 3;
    track->scenLength = 4;
    track->headerValue = 5;
    EXPECT_THAT(checkTrack(track.get()), IsEmpty());
}
