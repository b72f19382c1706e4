// Marker placement: where the markers go along the arc, their types, moves
// off a crossing, author markers, and placing twice.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "clearance.h"
#include "generator_fixtures.h"
#include "placement.h"
#include "syntheticTrack.h"

namespace {

// The renderer captures positions within 0.05 of the arc length asked for.
constexpr double kArcNear = 0.05;

// Arc length from the start of segment 0 to parameter t of segment s, along
// the cubic sampled finely.
double arcTo(const ZvTrack& track, int s, float t) {
    constexpr int kSteps = 4000;
    double arc = 0;
    for (int segment = 0; segment <= s; ++segment) {
        SegmentCurve curve;
        if (!segmentCurve(segment, &track, &curve)) continue;
        const float end = segment == s ? t : 1.0f;
        Point3D previous = curve.p[0];
        for (int i = 1; i <= kSteps; ++i) {
            const Point3D p = cubicPoint(curve, end * static_cast<float>(i) / kSteps);
            arc += std::hypot(p.x - previous.x, p.y - previous.y, p.z - previous.z);
            previous = p;
        }
    }
    return arc;
}

// Four straights at height 10 around a 60 by 40 rectangle; the closing one
// has its handles at its ends, so its speed is uneven.
ZvTrack rectangle() {
    ZvTrack track = genfix::straightTrack({0, 10, 0}, {0, 10, 60});
    genfix::addStraightBezier(&track, {40, 10, 60});
    genfix::addStraightBezier(&track, {40, 10, 0});
    track.closedTrack = 1;
    addSegment(kSegmentPlain, 4, 0, Color{}, Color{}, genfix::tieColor(255, 255), 0, 0, &track);
    return track;
}

ZvTrack bareHillyBankedCircuit() {
    ZvTrack track = fixedDensityTrack(400);
    stripMarkers(&track);
    return track;
}

std::vector<unsigned char> bytesOf(const ZvTrack& track) {
    std::vector<unsigned char> bytes;
    ZvSaveMemory(&track, &bytes);
    return bytes;
}

TEST(Placement, BareCircuitsGetAMarkerEverySpacingOfTheTypeTheTrackCallsFor) {
    for (ZvTrack track : {rectangle(), bareHillyBankedCircuit()}) {
        const double length = arcTo(track, getTotalSegments(&track) - 1, 1.0f);
        const PlacementReport report = placeMarkers(&track, 8);
        ASSERT_EQ(static_cast<size_t>(std::lround(length / 8)), report.placed.size());
        EXPECT_TRUE(report.moved.empty());
        EXPECT_TRUE(report.leftOut.empty());
        int byType[8] = {};
        for (size_t k = 0; k < report.placed.size(); ++k) {
            const PlacedMarker& marker = report.placed[k];
            EXPECT_NEAR(4 + 8.0 * k, arcTo(track, marker.segment, marker.position), kArcNear) << k;
            ++byType[marker.nodeType];
        }
        EXPECT_EQ(byType[kMarkerColumn], report.columns);
        EXPECT_EQ(byType[kMarkerBracedLeg], report.bracedLegs);
        EXPECT_EQ(byType[kMarkerCrossbeam], report.crossbeams);
        int markers = 0;
        for (int s = 0; s < getTotalSegments(&track); ++s) markers += getTotalTrackNodes(s, &track);
        EXPECT_EQ(static_cast<int>(report.placed.size()), markers);
    }
    // The unbanked rectangle at height 10 takes columns only; the hilly
    // circuit takes all three types.
    ZvTrack flat = rectangle();
    EXPECT_EQ(25, placeMarkers(&flat).columns);
    ZvTrack hilly = bareHillyBankedCircuit();
    const PlacementReport report = placeMarkers(&hilly);
    EXPECT_GT(report.columns * report.bracedLegs * report.crossbeams, 0);
}

// Straights 40 long at a height, rolled, with a tie height: five markers each,
// all of the type worked out by hand (the tie section needs 2h + 2.9).
TEST(Placement, TheTypeFollowsTheHeightTheBankAndTheTieHeight) {
    constexpr float kDegree = 1 / 57.29577951f;
    struct Case {
        float height, rollDegrees;
        int tieByte;  // 255: the default 6
        int type;
    };
    for (const Case& c : {Case{10, 0, 255, kMarkerColumn}, Case{14.8f, 0, 255, kMarkerColumn},
                          Case{15, 0, 255, kMarkerBracedLeg}, Case{20, 29, 255, kMarkerBracedLeg},
                          Case{20, 31, 255, kMarkerCrossbeam}, Case{20, -45, 255, kMarkerCrossbeam},
                          Case{20, 180, 255, kMarkerCrossbeam}, Case{20, 340, 255, kMarkerBracedLeg},
                          Case{20, 370, 255, kMarkerBracedLeg}, Case{20, 400, 255, kMarkerCrossbeam},
                          Case{11, 0, 4, kMarkerBracedLeg}, Case{10.8f, 0, 4, kMarkerColumn}}) {
        ZvTrack track = genfix::straightTrack({0, c.height, 0}, {0, c.height, 40}, c.rollDegrees * kDegree);
        genfix::setColors(&track, 0, Color{}, Color{}, genfix::tieColor(c.tieByte, 255));
        const PlacementReport report = placeMarkers(&track, 8);
        ASSERT_EQ(5u, report.placed.size()) << c.height << " " << c.rollDegrees;
        for (const PlacedMarker& marker : report.placed) {
            EXPECT_EQ(c.type, marker.nodeType) << c.height << " " << c.rollDegrees << " " << c.tieByte;
        }
    }
}

TEST(Placement, NothingGoesWhereTheTrackRunsLowOrTheSpacingMakesNoSense) {
    ZvTrack low = genfix::straightTrack({0, 3.9f, 0}, {0, 3.9f, 40});
    const PlacementReport report = placeMarkers(&low);
    EXPECT_TRUE(report.placed.empty());
    EXPECT_EQ(5, report.tooLow);
    for (float spacing : {0.5f, 0.0f, -8.0f, std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()}) {
        ZvTrack track = rectangle();
        EXPECT_TRUE(placeMarkers(&track, spacing).placed.empty()) << spacing;
        EXPECT_EQ(0, getTotalTrackNodes(0, &track));
    }
}

TEST(Placement, AMarkerOverACrossingMovesOffItAndItsStructureIsClear) {
    ZvTrack track = genfix::crossingTrack(0);
    const PlacementReport report = placeMarkers(&track);
    EXPECT_TRUE(report.leftOut.empty());
    ASSERT_EQ(1u, report.moved.size());
    const MovedMarker& moved = report.moved[0];
    EXPECT_EQ(0, moved.segment);
    EXPECT_NEAR(0.5f, moved.from, 1e-4f);  // arc 44, right above the lower straight
    const double shift = std::fabs(moved.to - moved.from) * 88;
    EXPECT_GE(shift, 0.8 - kArcNear);
    EXPECT_LE(shift, 4 + kArcNear);
    const GenerationReport generated = generateWithDriverDefaults(&track, nullptr);
    EXPECT_EQ(report.placed.size(), generated.structures.size());
    EXPECT_TRUE(checkBuiltStructures(track, generated).structures.empty());
}

TEST(Placement, SegmentsWithTheirOwnMarkersAreLeftAsTheyAre) {
    ZvTrack bare = genfix::crossingTrack(15);
    ZvTrack marked = bare;
    addTrackNode(1, kMarkerStrutOnly, 0.3f, &marked);
    addTrackNode(1, kMarkerColumn, 0.7f, &marked);
    const TrackNodeList author = marked.trackNodeLists[1];
    placeMarkers(&bare);
    const PlacementReport report = placeMarkers(&marked);
    ASSERT_FALSE(report.placed.empty());
    for (const PlacedMarker& marker : report.placed) EXPECT_NE(1, marker.segment);
    ASSERT_EQ(2u, marked.trackNodeLists[1].nodes.size());
    for (size_t j = 0; j < 2; ++j) {
        EXPECT_EQ(author.nodes[j].nodeType, marked.trackNodeLists[1].nodes[j].nodeType);
        EXPECT_EQ(author.nodes[j].segmentPos, marked.trackNodeLists[1].nodes[j].segmentPos);
    }
    for (int s : {0, 2}) {
        const std::vector<TrackNodeRecord>& expected = bare.trackNodeLists[static_cast<size_t>(s)].nodes;
        const std::vector<TrackNodeRecord>& actual = marked.trackNodeLists[static_cast<size_t>(s)].nodes;
        ASSERT_EQ(expected.size(), actual.size()) << s;
        for (size_t j = 0; j < expected.size(); ++j) EXPECT_EQ(expected[j].segmentPos, actual[j].segmentPos);
    }
}

// The stacked laps leave some candidates out, so the second run looks at
// bare segments again.
TEST(Placement, PlacingTwiceEqualsPlacingOnceByteForByte) {
    ZvTrack track = syntheticTrack(2400);
    stripMarkers(&track);
    const PlacementReport first = placeMarkers(&track);
    EXPECT_FALSE(first.placed.empty());
    EXPECT_FALSE(first.leftOut.empty());
    const std::vector<unsigned char> once = bytesOf(track);
    const PlacementReport second = placeMarkers(&track);
    EXPECT_TRUE(second.placed.empty());
    EXPECT_EQ(once, bytesOf(track));
}

// A straight along z at `height`, `length` long.
ZvTrack straight(float height, float length, float roll = 0) {
    return genfix::straightTrack({0, height, 0}, {0, height, length}, roll);
}

// The summary's words, without the kinds of its lines.
std::vector<std::string> summaryText(const PlacementReport& report, float spacing) {
    std::vector<std::string> text;
    for (const ReportLine& line : placementSummary(report, spacing)) text.push_back(line.text);
    return text;
}

std::string lastLine(const PlacementReport& report, float spacing) {
    return summaryText(report, spacing).back();
}

// Places every 8 lie at 4, 12, 20, ...: place k (from 0) at 8k + 4.
TEST(Placement, PlacingStopsAtItsLimitsAndSaysWhere) {
    ZvTrack high = straight(20, 1000);
    const PlacementReport markers = placeMarkers(&high, 8, PlacementLimits{10, 100});
    EXPECT_EQ(10u, markers.placed.size());
    EXPECT_EQ(10, getTotalTrackNodes(0, &high));
    EXPECT_EQ(PlacementLimit::kMarkers, markers.stop.limit);
    EXPECT_EQ(84, markers.stop.arc);
    EXPECT_NEAR(0.084f, markers.stop.position, 1e-4f);
    EXPECT_EQ("  stopped: segment 0 at 0.08, 84 along the track (placing stops at 10 markers)", lastLine(markers, 8));

    ZvTrack low = straight(2, 1000);
    const PlacementReport places = placeMarkers(&low, 8, PlacementLimits{10, 20});
    EXPECT_EQ(20, places.tooLow);
    EXPECT_EQ("  stopped: segment 0 at 0.16, 164 along the track (placing stops after 20 places)", lastLine(places, 8));

    // A track that holds just as many places as the limit was placed whole.
    ZvTrack whole = straight(20, 80);
    const PlacementReport all = placeMarkers(&whole, 8, PlacementLimits{10, 10});
    EXPECT_EQ(10u, all.placed.size());
    EXPECT_EQ(PlacementLimit::kNone, all.stop.limit);
    EXPECT_EQ("markers placed every 8: 10 braced legs", lastLine(all, 8));
}

TEST(Placement, NothingPlacedSaysWhy) {
    auto firstLine = [](ZvTrack track) { return summaryText(placeMarkers(&track, 8), 8).front(); };
    ZvTrack empty;
    initNewZvTrack(&empty);
    EXPECT_EQ("markers placed every 8: none (the track has no segment with a curve)", firstLine(empty));

    ZvTrack marked = genfix::crossingTrack(15);
    for (int s = 0; s < 3; ++s) addTrackNode(s, kMarkerColumn, 0.5f, &marked);
    EXPECT_EQ("markers placed every 8: none (every segment with a curve has markers of its own)", firstLine(marked));

    // Places lie at 4 and 12: not on a track 3 long, nor on a bare segment
    // from 5 to 11 between two with markers.
    const std::string between =
        "markers placed every 8: none (no place every 8 along the track, the first at 4, falls on a segment "
        "without markers)";
    EXPECT_EQ(between, firstLine(straight(20, 3)));
    ZvTrack gap = straight(20, 5);
    genfix::addStraightBezier(&gap, {0, 20, 11});
    genfix::addStraightBezier(&gap, {0, 20, 30});
    addTrackNode(0, kMarkerColumn, 0.5f, &gap);
    addTrackNode(2, kMarkerColumn, 0.5f, &gap);
    EXPECT_EQ(between, firstLine(gap));

    EXPECT_EQ("markers placed every 8: none (every place is lower than 4)", firstLine(straight(3.9f, 40)));
}

TEST(Placement, AMarkerWhereTheBankIsNotANumberIsLeftOutSayingSo) {
    ZvTrack track = straight(20, 40, std::numeric_limits<float>::quiet_NaN());
    const PlacementReport report = placeMarkers(&track);
    ASSERT_EQ(5u, report.leftOut.size());
    EXPECT_EQ(LeftOutReason::kNoFiniteBanking, report.leftOut[0].reason);
    EXPECT_EQ(std::vector<std::string>({"markers placed every 8: none",
                                        "  left out: segment 0 at 0.10 (the track's bank is not a number there)",
                                        "  left out: segment 0 at 0.30 (the track's bank is not a number there)",
                                        "  left out: segment 0 at 0.50 (the track's bank is not a number there)",
                                        "  left out: segment 0 at 0.70 (the track's bank is not a number there)",
                                        "  left out: segment 0 at 0.90 (the track's bank is not a number there)"}),
              summaryText(report, 8));
}

}  // namespace
