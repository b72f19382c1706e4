// Whole generation runs: Make and its record, marker removal, attachment
// points, markers that cannot be built, and random tracks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <limits>
#include <random>

#include "generator_fixtures.h"

namespace {

constexpr float kPi = 3.14159265f;

// Two level segments along +z at height 20: beziers at z = 0, 30, 60.
ZvTrack twoSegments() {
    ZvTrack track = genfix::straightTrack({0, 20, 0}, {0, 20, 30});
    genfix::addStraightBezier(&track, {0, 20, 60});
    return track;
}

int fundCount(const ZvTrack& track) { return static_cast<int>(track.fundNodeArray.size()); }
int freeCount(const ZvTrack& track) { return static_cast<int>(track.freeNodeArray.size()); }
int tubeCount(const ZvTrack& track) { return static_cast<int>(track.tubeArray.size()); }

TEST(Make, WithTheDriverDefaultsPrintsBothEntriesAndBuildsEachStructureOnce) {
    ZvTrack track = twoSegments();
    addTrackNode(0, kMarkerBracedLeg, 0.5f, &track);
    addTrackNode(1, kMarkerColumn, 0.5f, &track);
    const int rascBefore = track.rascLength;
    const int tubeLengthBefore = track.tubeLength;
    const genfix::MakeRun run = genfix::runMake(&track);
    EXPECT_EQ("0\n1\n", run.out);
    EXPECT_EQ("", run.warnings);
    EXPECT_EQ(27 + 5, freeCount(track));
    EXPECT_EQ(2 + 1, fundCount(track));
    EXPECT_EQ(15 + 3, tubeCount(track));
    EXPECT_EQ(0, getTotalTrackNodes(0, &track) + getTotalTrackNodes(1, &track));
    EXPECT_EQ(rascBefore - 2 * kTrackNodeRecordSize, track.rascLength);
    EXPECT_EQ(tubeLengthBefore + 18 * kTubeRecordSize, track.tubeLength);
    // Strut, column and collar of each column-bearing node: 0, 1, 2 and 15, 16, 17.
    EXPECT_EQ((std::vector<int>{0, 0, 1, 2, 15, 16, 17}), run.supports.tubes);
    EXPECT_EQ(6, run.supports.lastTube);
}

TEST(Make, EmptyTrackStillPrintsTheEntries) {
    ZvTrack track;
    initNewZvTrack(&track);
    const genfix::MakeRun run = genfix::runMake(&track);
    EXPECT_EQ("0\n1\n", run.out);
    EXPECT_EQ(0, freeCount(track) + fundCount(track) + tubeCount(track));
}

TEST(Make, RunsOnlyTheEntriesUpToLastStyleWithMethodOne) {
    for (const auto& [lastStyle, method, printed, tubes] :
         {std::tuple<int, int, const char*, int>{-1, 1, "", 0},
          {0, 1, "0\n", 1},
          {1, 0, "0\n1\n", 0},
          {3, 0, "0\n1\n2\n3\n", 0}}) {
        ZvTrack track = twoSegments();
        addTrackNode(0, 3, 0.5f, &track);
        Supports supports;
        setDriverDefaults(&supports);
        supports.lastStyle = lastStyle;
        supports.styles[0].method = method;
        supports.styles[1].method = method;
        supports.styles.resize(2);  // entries past the table count as zero
        strutWright generator;
        generator.setTrack(&track);
        generator.setSupport(&supports);
        testing::internal::CaptureStdout();
        generator.Make();
        EXPECT_EQ(printed, testing::internal::GetCapturedStdout());
        EXPECT_EQ(tubes, tubeCount(track)) << lastStyle << " " << method;
    }
}

TEST(Make, ClearsRecordedElementsHighestIndexFirstAndResetsTheCounts) {
    ZvTrack track = twoSegments();
    for (int type = 10; type < 15; ++type) addSupport(kEndFreeNode, 0, 0, kEndFreeNode, 0, 0, type, 0, 0, &track);
    for (int i = 0; i < 4; ++i) addFreeNode(static_cast<float>(i), 0, 0, &track);
    for (int i = 0; i < 3; ++i) addFundNode(0, 0, 1, 0, 0, 0, static_cast<float>(i), 0, 0, &track);
    const int tubeLength = track.tubeLength;
    Supports supports;
    setDriverDefaults(&supports);
    strutWright generator;
    generator.setTrack(&track);
    generator.setSupport(&supports);
    generator.Tube(1);
    generator.Tube(3);
    generator.FreeNode(0);
    generator.FreeNode(2);
    generator.FundNode(2);
    testing::internal::CaptureStdout();
    generator.Make();
    testing::internal::GetCapturedStdout();

    ASSERT_EQ(3, tubeCount(track));
    EXPECT_EQ(10, track.tubeArray[0].tubeType);
    EXPECT_EQ(12, track.tubeArray[1].tubeType);
    EXPECT_EQ(14, track.tubeArray[2].tubeType);
    EXPECT_EQ(tubeLength - 2 * kTubeRecordSize, track.tubeLength);
    ASSERT_EQ(2, freeCount(track));
    EXPECT_EQ(1.0f, track.freeNodeArray[0].x);
    EXPECT_EQ(3.0f, track.freeNodeArray[1].x);
    ASSERT_EQ(2, fundCount(track));
    EXPECT_EQ(1.0f, track.fundNodeArray[1].x);
    EXPECT_EQ(0, supports.lastTube + supports.lastFreeNode + supports.lastFundNode);
    EXPECT_EQ(std::vector<int>{0}, supports.tubes);
}

TEST(Recording, ListsGrowPastTheOldCapacity) {
    Supports supports;
    strutWright generator;
    generator.setSupport(&supports);
    for (int i = 0; i < 7000; ++i) generator.Tube(100 + i);
    EXPECT_EQ(7000, supports.lastTube);
    EXPECT_EQ(0, supports.tubes[0]);
    EXPECT_EQ(100, supports.tubes[1]);
    EXPECT_EQ(7099, supports.tubes[7000]);
}

TEST(Attachments, NodesThatTubesNameAreKeptAndTheirEndsRenumbered) {
    ZvTrack track = twoSegments();
    for (int j = 0; j < 4; ++j) addTrackNode(0, j == 2 ? kMarkerBracedLeg : 3, 0.1f + 0.2f * j, &track);
    addTrackNode(1, 3, 0.5f, &track);
    const int free = addFreeNode(1, 2, 3, &track);
    addSupport(kEndTrackNode, 2, 0, kEndFreeNode, free, 0, 1, 0, 0, &track);       // names node 2
    addSupport(kEndTrackNode, 9, 0, kEndTrackNode, 0, 5, 1, 0, 0, &track);         // names none
    addSupport(kEndFreeNode, free, 0, kEndTrackNode, 0, 1, 1, 0, 0, &track);       // names segment 1's node
    const int rascBefore = track.rascLength;

    const genfix::MakeRun run = genfix::runMake(&track);
    EXPECT_EQ("0\n1\n", run.out);
    ASSERT_EQ(1, getTotalTrackNodes(0, &track));
    EXPECT_EQ(kMarkerBracedLeg, getTrackNode(0, 0, &track).nodeType);
    EXPECT_FLOAT_EQ(0.5f, getTrackNode(0, 0, &track).segmentPos);
    EXPECT_EQ(1, getTotalTrackNodes(1, &track));
    EXPECT_EQ(rascBefore - 3 * kTrackNodeRecordSize, track.rascLength);
    EXPECT_EQ(0, track.tubeArray[0].index1);
    EXPECT_EQ(0, track.tubeArray[0].segment1);
    EXPECT_EQ(9, track.tubeArray[1].index1);
    EXPECT_EQ(5, track.tubeArray[1].segment2);
    EXPECT_EQ(0, track.tubeArray[2].index2);
    // Three plain markers were built: two free nodes and a strut each.
    EXPECT_EQ(1 + 3 * 2, freeCount(track));
    EXPECT_EQ(3 + 3, tubeCount(track));
}

TEST(UnbuildableMarkers, SegmentsWithoutACurveKeepTheirMarkersAndWarnOnce) {
    ZvTrack track = genfix::straightTrack({0, 20, 0}, {0, 20, 30});
    addSegment(kSegmentPlain, 2, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    addTrackNode(1, kMarkerColumn, 0.5f, &track);
    addTrackNode(1, kMarkerBracedLeg, 0.2f, &track);
    const genfix::MakeRun run = genfix::runMake(&track);
    EXPECT_EQ("0\n1\n", run.out);
    EXPECT_EQ("segment 1 has no curve; its 2 markers were left in place\n", run.warnings);
    EXPECT_EQ(0, getTotalTrackNodes(0, &track));
    EXPECT_EQ(2, getTotalTrackNodes(1, &track));
    EXPECT_EQ(3, tubeCount(track));
}

TEST(UnbuildableMarkers, NonFiniteGeometryKeepsTheMarkerAndAddsNothingForIt) {
    ZvTrack track = twoSegments();
    track.bezierArray[2].controlIn.x = std::numeric_limits<float>::quiet_NaN();
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    addTrackNode(1, kMarkerBracedLeg, 0.5f, &track);
    const genfix::MakeRun run = genfix::runMake(&track);
    EXPECT_EQ("0\n1\n", run.out);
    EXPECT_EQ("segment 1: the marker at 0.5 along it gives non-finite coordinates; "
              "it was left in place\n",
              run.warnings);
    EXPECT_EQ(1, getTotalTrackNodes(1, &track));
    EXPECT_EQ(5, freeCount(track));
    EXPECT_EQ(3, tubeCount(track));
    EXPECT_TRUE(genfix::nonFiniteValues(track).empty());
}

// A position outside 0..1 would extend the curve past its ends; -0 and 1 are
// the ends themselves.
TEST(UnbuildableMarkers, MarkersOutsideTheirSegmentAreKeptWithAWarning) {
    ZvTrack track = twoSegments();
    for (float position : {2.0f, -1.0f, 1.0f, -0.0f}) addTrackNode(0, kMarkerColumn, position, &track);
    const genfix::MakeRun run = genfix::runMake(&track);
    EXPECT_EQ("segment 0: the marker at 2 lies outside 0..1 along it; it was left in place\n"
              "segment 0: the marker at -1 lies outside 0..1 along it; it was left in place\n",
              run.warnings);
    EXPECT_EQ(2, run.report.markers.outOfRange);
    EXPECT_EQ(2, run.report.markers.columns);
    ASSERT_EQ(2, getTotalTrackNodes(0, &track));
    EXPECT_EQ(2.0f, track.trackNodeLists[0].nodes[0].segmentPos);
    EXPECT_EQ(-1.0f, track.trackNodeLists[0].nodes[1].segmentPos);
    EXPECT_EQ(2 * 3, tubeCount(track)) << "only the two markers on the segment got structures";
}

// The report tells what became of every marker, however often Type1 ran.
TEST(Report, CountsStructuresByKindAndKeptMarkersByReason) {
    ZvTrack track = twoSegments();
    track.bezierArray[2].controlIn.x = std::numeric_limits<float>::quiet_NaN();
    addSegment(kSegmentPlain, 3, 0, Color{}, Color{}, Color{}, 0, 0, &track);  // no curve
    for (int type : {+kMarkerColumn, +kMarkerBracedLeg, +kMarkerBracedLeg, +kMarkerCrossbeam, 0, 0}) {
        addTrackNode(0, type, 0.5f, &track);
    }
    addSupport(kEndTrackNode, 5, 0, kEndTrackNode, 4, 0, 1, 0, 0, &track);  // two attachment points
    addTrackNode(1, kMarkerColumn, 0.5f, &track);                             // non-finite
    addTrackNode(2, kMarkerColumn, 0.5f, &track);
    addTrackNode(2, kMarkerStrutOnly, 0.5f, &track);

    const genfix::MakeRun run = genfix::runMake(&track);
    const MarkerCounts& markers = run.report.markers;
    EXPECT_EQ(9, markers.found);
    EXPECT_EQ(1, markers.columns);
    EXPECT_EQ(2, markers.bracedLegs);
    EXPECT_EQ(1, markers.crossbeams);
    EXPECT_EQ(0, markers.strutsOnly);
    EXPECT_EQ(2, markers.attachmentPoints);
    EXPECT_EQ(1, markers.nonFinite);
    EXPECT_EQ(2, markers.withoutCurve);
    EXPECT_EQ(static_cast<size_t>(freeCount(track)), run.report.freeNodesAdded);
    EXPECT_EQ(static_cast<size_t>(fundCount(track)), run.report.fundNodesAdded);
    EXPECT_EQ(static_cast<size_t>(tubeCount(track)) - 1, run.report.tubesAdded);
}

TEST(ClosedTrack, MarkersOnTheClosingSegmentGetStructures) {
    ZvTrack track = twoSegments();
    addSegment(kSegmentPlain, 3, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    track.closedTrack = 1;  // the third segment runs from bezier 2 back to bezier 0
    addTrackNode(2, kMarkerColumn, 0.5f, &track);
    genfix::runType1(&track);
    EXPECT_EQ(0, getTotalTrackNodes(2, &track));
    ASSERT_EQ(5, freeCount(track));
    BezierCalc calc;
    Point3D p = calc.GetPosSegmentNode(0.5f, 2, &track);
    Point3D strutTop{track.freeNodeArray[0].x, track.freeNodeArray[0].y, track.freeNodeArray[0].z};
    EXPECT_NEAR(0.3f, calc.getDistance(&p, &strutTop), 1e-5f);
    EXPECT_NEAR(30.0f, p.z, 1e-4f);  // halfway from (0, 20, 60) back to (0, 20, 0)
}

TEST(TrackNodeLists, MissingListsCountAsEmptyAndExtraListsAreLeftAlone) {
    ZvTrack missing = twoSegments();
    addTrackNode(0, 3, 0.5f, &missing);
    missing.trackNodeLists.resize(1);
    genfix::runType1(&missing);
    EXPECT_EQ(1, tubeCount(missing));

    ZvTrack extra = twoSegments();
    extra.trackNodeLists.resize(3);
    extra.trackNodeLists[2].nodes.push_back({kMarkerColumn, 0.5f});
    addTrackNode(0, 3, 0.5f, &extra);
    genfix::runType1(&extra);
    EXPECT_EQ(1, tubeCount(extra));
    EXPECT_EQ(1u, extra.trackNodeLists[2].nodes.size());
}

// A random track: curved, banked, sometimes closed, sometimes degenerate,
// with markers of every kind and tubes naming track nodes (some no node).
ZvTrack randomTrack(std::mt19937& rng) {
    std::uniform_real_distribution<float> coordinate(-500, 500), height(-5, 60), unit(0, 1);
    std::uniform_int_distribution<int> byte(0, 255), beziers(1, 6), markers(0, 5);
    const int nodeTypes[] = {0, 1, 2, 3, 6, 7, 9};
    ZvTrack track;
    initNewZvTrack(&track);
    setCoasterStyle(byte(rng) % 60, &track);
    const int count = beziers(rng);
    track.bezierArray.clear();
    for (int i = 0; i < count; ++i) {
        BezierRecord bezier;
        bezier.position = {coordinate(rng), height(rng), coordinate(rng)};
        if (unit(rng) < 0.15f) bezier.position = i > 0 ? track.bezierArray.back().position : Point3D{};
        const Point3D handle{coordinate(rng) / 20, coordinate(rng) / 20, coordinate(rng) / 20};
        const bool vertical = unit(rng) < 0.1f;
        bezier.controlOut = {bezier.position.x + (vertical ? 0 : handle.x), bezier.position.y + handle.y,
                             bezier.position.z + (vertical ? 0 : handle.z)};
        bezier.controlIn = {bezier.position.x - handle.x, bezier.position.y - handle.y, bezier.position.z - handle.z};
        bezier.roll = (unit(rng) - 0.5f) * 4 * kPi;
        bezier.rollFlag = unit(rng) < 0.3f;
        track.bezierArray.push_back(bezier);
    }
    track.closedTrack = unit(rng) < 0.4f;
    const int segments = count - 1 + track.closedTrack + (unit(rng) < 0.2f);
    for (int s = 0; s < segments; ++s) {
        auto color = [&] { return Color{byte(rng) - (unit(rng) < 0.5f ? 256 : 0), byte(rng), byte(rng), byte(rng)}; };
        addSegment(kSegmentPlain, s + 1, 0, unit(rng) < 0.3f ? genfix::opaqueGreen(true) : color(),
                   unit(rng) < 0.3f ? genfix::opaqueRed() : color(), genfix::tieColor(byte(rng) % 16, byte(rng) % 60),
                   0, 0, &track);
        const int n = markers(rng);
        for (int j = 0; j < n; ++j) addTrackNode(s, nodeTypes[byte(rng) % 7], unit(rng) * 1.4f - 0.2f, &track);
    }
    for (int t = 0; t < 3; ++t) {
        addSupport(kEndTrackNode, byte(rng) % 6, byte(rng) % (segments + 2), kEndFreeNode, 0, 0, 1, 0, 0, &track);
    }
    addFreeNode(0, 0, 0, &track);
    return track;
}

TEST(RandomTracks, GenerateOnlyFiniteElementsWhoseEndsNameExistingNodes) {
    std::mt19937 rng(7331);
    for (int round = 0; round < 400; ++round) {
        ZvTrack track = randomTrack(rng);
        // Which attachment each kind-3 end names before the run, if any.
        std::vector<std::pair<bool, TrackNodeRecord>> named;
        for (const TubeRecord& tube : track.tubeArray) {
            const bool exists = tube.segment1 < getTotalSegments(&track) &&
                                tube.index1 < getTotalTrackNodes(tube.segment1, &track);
            named.push_back({exists, getTrackNode(tube.segment1, tube.index1, &track)});
        }
        const std::vector<TubeRecord> before = track.tubeArray;
        const genfix::MakeRun run = genfix::runMake(&track);
        ASSERT_EQ("0\n1\n", run.out) << "round " << round;
        ASSERT_EQ(std::vector<std::string>{}, genfix::nonFiniteValues(track)) << "round " << round;
        std::vector<std::string> problems = genfix::endProblems(track);
        for (size_t t = 0; t < named.size(); ++t) {
            const TubeRecord& tube = track.tubeArray[t];
            if (named[t].first) {
                const TrackNodeRecord now = getTrackNode(tube.segment1, tube.index1, &track);
                EXPECT_EQ(named[t].second.nodeType, now.nodeType) << "round " << round;
                EXPECT_EQ(named[t].second.segmentPos, now.segmentPos) << "round " << round;
            } else {
                EXPECT_EQ(before[t].index1, tube.index1) << "round " << round;
                problems.erase(std::remove(problems.begin(), problems.end(),
                                           "tube " + std::to_string(t) + " end 1"),
                               problems.end());
            }
        }
        ASSERT_EQ(std::vector<std::string>{}, problems) << "round " << round;
    }
}

}  // namespace
