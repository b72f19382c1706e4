// The clearance check: structures of a generation run and the tubes of any
// track, against crossings built here, a helix, the demo track and the
// stacked laps of the synthetic circuit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tuple>

#include "clearance.h"
#include "demoTrack.h"
#include "generator_fixtures.h"
#include "stressTracks.h"
#include "syntheticTrack.h"

namespace {

constexpr float kNear = 0.01f;

// The crossing with a column marker right above it, generated.
struct Generated {
    ZvTrack track;
    GenerationReport report;
};

Generated crossingWithColumn(float aside) {
    Generated run{genfix::crossingTrack(aside), {}};
    addTrackNode(0, kMarkerColumn, 0.5f, &run.track);
    run.report = generateWithDriverDefaults(&run.track, nullptr);
    return run;
}

float distance(Point3D a, Point3D b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Distance from p to the piece a-b, worked out apart from the library.
float distanceToPiece(Point3D p, Point3D a, Point3D b) {
    const float abx = b.x - a.x, aby = b.y - a.y, abz = b.z - a.z;
    const float length2 = abx * abx + aby * aby + abz * abz;
    float u = length2 > 0 ? ((p.x - a.x) * abx + (p.y - a.y) * aby + (p.z - a.z) * abz) / length2 : 0;
    u = std::fmin(1.0f, std::fmax(0.0f, u));
    return distance(p, {a.x + u * abx, a.y + u * aby, a.z + u * abz});
}

// Where the two ends of a tube of free and foundation nodes are.
TubeSegment tubeEnds(const ZvTrack& track, size_t tube) {
    const TubeRecord& record = track.tubeArray.at(tube);
    Point3D ends[2];
    const int kinds[2] = {record.kind1, record.kind2};
    const int indices[2] = {record.index1, record.index2};
    for (int e = 0; e < 2; ++e) {
        const size_t index = static_cast<size_t>(indices[e]);
        if (kinds[e] == kEndFundNode) {
            const FundNodeRecord& node = track.fundNodeArray.at(index);
            ends[e] = {node.x, node.y, node.z};
        } else {
            const FreeNodeRecord& node = track.freeNodeArray.at(index);
            ends[e] = {node.x, node.y, node.z};
        }
    }
    return {ends[0], ends[1]};
}

TEST(Clearance, AColumnThroughTheTrackBelowIsReportedByBothChecks) {
    const Generated run = crossingWithColumn(0);
    const BuiltClearance found = checkBuiltStructures(run.track, run.report);
    ASSERT_EQ(1u, found.structures.size());
    const StructureConflict& conflict = found.structures[0];
    EXPECT_EQ(0, conflict.structure.segment);
    EXPECT_EQ(0.5f, conflict.structure.position);
    EXPECT_EQ(kMarkerColumn, conflict.structure.nodeType);
    EXPECT_EQ(2, conflict.pass.segment);
    EXPECT_NEAR(0, conflict.pass.distance, kNear);
    EXPECT_NEAR(5, conflict.pass.supportPoint.y, kNear);
    EXPECT_NEAR(0, distance(conflict.pass.supportPoint, conflict.pass.trackPoint), kNear);
    // The column is the second tube the structure adds: strut, column, collar.
    EXPECT_EQ(MemberRole::kColumn, conflict.member.role);
    EXPECT_EQ(1, conflict.member.tube);
    EXPECT_EQ(TubeList{1}, found.tubes);

    const std::vector<TubeConflict> tubes = checkTrackClearance(run.track);
    ASSERT_EQ(1u, tubes.size());
    EXPECT_EQ(1u, tubes[0].tube);
    EXPECT_EQ(2, tubes[0].pass.segment);
    EXPECT_NEAR(18.7f, tubes[0].end1.y, kNear);
    EXPECT_EQ(0.0f, tubes[0].end2.y);

    EXPECT_TRUE(checkBuiltStructures(run.track, run.report, 0).structures.empty());
    EXPECT_TRUE(checkTrackClearance(run.track, 0).empty());
}

TEST(Clearance, TheRadiusDecidesHowFarAsideTheLowerTrackIsClear) {
    for (const auto& [aside, radius, conflicts] :
         {std::tuple<float, float, size_t>{15, 1.5f, 0}, {15, 6, 0}, {5, 1.5f, 0}, {5, 6, 1}}) {
        const Generated run = crossingWithColumn(aside);
        const BuiltClearance found = checkBuiltStructures(run.track, run.report, radius);
        ASSERT_EQ(conflicts, found.structures.size()) << aside << " " << radius;
        EXPECT_EQ(conflicts, checkTrackClearance(run.track, radius).size()) << aside << " " << radius;
        if (conflicts) {
            EXPECT_NEAR(5, found.structures[0].pass.distance, kNear);
        }
    }
}

TEST(Clearance, NoDemoStructureConflictsWithItsOwnStretch) {
    ZvTrack track;
    buildDemoTrack(&track);
    const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
    ASSERT_EQ(report.markers.found, static_cast<int>(report.structures.size()));
    for (float radius : {kDefaultClearanceRadius, 6.0f}) {
        EXPECT_TRUE(checkBuiltStructures(track, report, radius).structures.empty()) << radius;
        EXPECT_TRUE(checkTrackClearance(track, radius).empty()) << radius;
    }
}

// The circuit's second lap runs over the first, 471.24 segments of 20 along
// a loop of radius 1,500 further on: columns from the upper lap pass through
// the lower one, right below them.
TEST(Clearance, ColumnsOfTheUpperLapPassThroughTheLowerOne) {
    ZvTrack track = syntheticTrack(2400);
    const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
    const BuiltClearance found = checkBuiltStructures(track, report);
    ASSERT_GT(found.structures.size(), 50u);
    for (const StructureConflict& conflict : found.structures) {
        const int lapApart = std::abs(conflict.structure.segment - conflict.pass.segment);
        EXPECT_TRUE(lapApart >= 469 && lapApart <= 474) << conflict.structure.segment;
    }
    // A few by hand: the tube as the document holds it against the near
    // segment's curve sampled finely.
    for (size_t k = 0; k < found.structures.size(); k += found.structures.size() / 4) {
        const StructureConflict& conflict = found.structures[k];
        const TubeSegment tube = tubeEnds(track, static_cast<size_t>(conflict.member.tube));
        const Point3D a = tube.from, b = tube.to;
        SegmentCurve curve;
        ASSERT_TRUE(segmentCurve(conflict.pass.segment, &track, &curve));
        float nearest = 1e9f;
        constexpr int kSamples = 20000;
        for (int i = 0; i <= kSamples; ++i) {
            const Point3D p = cubicPoint(curve, static_cast<float>(i) / kSamples);
            nearest = std::fmin(nearest, distanceToPiece(p, a, b));
        }
        EXPECT_NEAR(nearest, conflict.pass.distance, kNear) << k;
        EXPECT_LT(conflict.pass.distance, kDefaultClearanceRadius);
        EXPECT_NEAR(0, distanceToPiece(conflict.pass.supportPoint, a, b), kNear);
        SegmentCurve own;
        ASSERT_TRUE(segmentCurve(conflict.structure.segment, &track, &own));
        EXPECT_GT(cubicPoint(own, conflict.structure.position).y, conflict.pass.trackPoint.y);
    }
}

// A column hung by hand from the upper straight of the crossing, 3 beside
// the lower straight (clear of it), and a post 0.5 beside and under the lower
// straight, 0.71 from it: the post is the lower track's own business unless it
// belongs to the column's structure. A tie at height 3 joins them when its end
// lies on the column (within kJoinTolerance) and it shares the post's foot.
ZvTrack handMadeSupports(float tieOffColumn) {
    ZvTrack track = genfix::crossingTrack(3);
    const int top = addFreeNode(0, 19, 0, &track);
    const int foot = addFundNode(0, 0, 1, 0, 0, 0, 0, 0, 0, &track);
    addSupport(kEndFreeNode, top, 0, kEndFundNode, foot, 0, kTubeMedium, 0, 0, &track);
    const int postTop = addFreeNode(2.5f, 4.5f, 0, &track);
    const int postFoot = addFreeNode(2.5f, 2.0f, 0, &track);
    addSupport(kEndFreeNode, postTop, 0, kEndFreeNode, postFoot, 0, kTubeMedium, 0, 0, &track);
    const int tieEnd = addFreeNode(tieOffColumn, 2.0f, 0, &track);
    addSupport(kEndFreeNode, tieEnd, 0, kEndFreeNode, postFoot, 0, kTubeLight, 0, 0, &track);
    // An end that names no node is passed over.
    addSupport(kEndFreeNode, 999, 0, kEndFundNode, foot, 0, kTubeMedium, 0, 0, &track);
    return track;
}

TEST(Clearance, TubesJoinThroughSharedNodesAndEndsOnOtherTubes) {
    const std::vector<TubeConflict> joined = checkTrackClearance(handMadeSupports(0));
    ASSERT_EQ(1u, joined.size());
    EXPECT_EQ(1u, joined[0].tube);  // the post
    EXPECT_EQ(2, joined[0].pass.segment);
    EXPECT_NEAR(std::sqrt(0.5f), joined[0].pass.distance, kNear);
    EXPECT_NEAR(4.5f, joined[0].pass.supportPoint.y, kNear);
    // 0.02 off the column the tie's end joins nothing: the tie and the post
    // hang from the lower straight.
    EXPECT_TRUE(checkTrackClearance(handMadeSupports(0.02f)).empty());
}

// A column over the crossing meets the middle straight, 1 beside it, first
// going down, before the lower straight it passes right through.
TEST(Clearance, TheConflictReportedIsTheFirstMetGoingDown) {
    ZvTrack track = genfix::twoLevelCrossing();
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
    const BuiltClearance found = checkBuiltStructures(track, report);
    ASSERT_EQ(1u, found.structures.size());
    const StructureConflict& conflict = found.structures[0];
    EXPECT_EQ(MemberRole::kColumn, conflict.member.role);
    EXPECT_EQ(2, conflict.pass.segment);
    EXPECT_NEAR(1, conflict.pass.distance, kNear);
    EXPECT_NEAR(12, conflict.pass.supportPoint.y, kNear);
    EXPECT_NEAR(1, conflict.pass.trackPoint.x, kNear);
    EXPECT_EQ(TubeList{1}, found.tubes);

    const std::vector<TubeConflict> tubes = checkTrackClearance(track);
    ASSERT_EQ(1u, tubes.size());
    EXPECT_EQ(1u, tubes[0].tube);
    EXPECT_EQ(2, tubes[0].pass.segment);
    EXPECT_NEAR(1, tubes[0].pass.distance, kNear);
}

// Every column of the helix passes through every turn below it; each is
// reported at the turn right below, four segments (one turn, 2 lower) back.
// Under the end of the first turn lies the start of the track.
TEST(Clearance, AHelixColumnMeetsTheTurnRightBelowIt) {
    ZvTrack track = helixTrack(6);
    const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
    ASSERT_EQ(6u * 4 * 8, report.structures.size());
    const BuiltClearance found = checkBuiltStructures(track, report);
    size_t laterTurns = 0;
    for (const StructureConflict& conflict : found.structures) {
        const int segment = conflict.structure.segment;
        EXPECT_EQ(MemberRole::kColumn, conflict.member.role);
        if (segment < 4) {
            EXPECT_EQ(3, segment);
            EXPECT_EQ(0, conflict.pass.segment);
            continue;
        }
        ++laterTurns;
        EXPECT_EQ(segment - 4, conflict.pass.segment) << segment;
        EXPECT_LT(conflict.pass.distance, 0.1f) << segment;
    }
    EXPECT_EQ(5u * 4 * 8, laterTurns);
}

TEST(Clearance, TheRunListsEachStructureWithItsTubesAndMembers) {
    ZvTrack track = genfix::straightTrack({0, 20, 0}, {0, 20, 30}, 0.8f);
    genfix::addStraightBezier(&track, {0, 20, 60});
    addTrackNode(0, kMarkerBracedLeg, 0.5f, &track);
    addTrackNode(1, kMarkerCrossbeam, 0.5f, &track);
    const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
    ASSERT_EQ(2u, report.structures.size());
    const BuiltStructure& leg = report.structures[0];
    const BuiltStructure& beam = report.structures[1];
    EXPECT_EQ(StructureKind::kBracedLeg, leg.kind);
    EXPECT_EQ(StructureKind::kCrossbeam, beam.kind);
    EXPECT_EQ(kMarkerCrossbeam, beam.nodeType);
    ASSERT_EQ(0u, leg.firstTube);
    ASSERT_EQ(15u, leg.tubeCount);
    ASSERT_EQ(15u, beam.firstTube);
    ASSERT_EQ(3u, beam.tubeCount);
    ASSERT_EQ(18u, report.tubes.size());

    // A braced leg with its tie section and extra diagonal (track at 20, the
    // default tie height 6): strut, column and its collar, brace, second leg,
    // tie, two collars on the column at the tie, two on the tie, two on the
    // brace, the diagonal and its two collars; a crossbeam: strut, beam, column.
    using R = MemberRole;
    const std::vector<R> expected{R::kConnectorStrut, R::kColumn, R::kCollar, R::kBrace, R::kSecondLeg,
                                  R::kTie, R::kCollar, R::kCollar, R::kCollar, R::kCollar, R::kCollar,
                                  R::kCollar, R::kDiagonal, R::kCollar, R::kCollar,
                                  R::kConnectorStrut, R::kCrossbeam, R::kColumn};
    for (size_t i = 0; i < report.tubes.size(); ++i) {
        const BuiltTube& built = report.tubes[i];
        EXPECT_EQ(expected[i], built.role) << i;
        EXPECT_EQ(static_cast<int>(i), built.tube);
        // The report's ends are those the document holds.
        const TubeSegment saved = tubeEnds(track, i);
        EXPECT_EQ(0, distance(saved.from, built.ends.from)) << i;
        EXPECT_EQ(0, distance(saved.to, built.ends.to)) << i;
    }
    auto lowEnd = [&report](size_t tube) {
        const TubeSegment& ends = report.tubes[tube].ends;
        return std::fmin(ends.from.y, ends.to.y);
    };
    EXPECT_EQ(0, lowEnd(1));   // the column
    EXPECT_EQ(0, lowEnd(4));   // the second leg
    EXPECT_NEAR(6.9f, lowEnd(5), kNear);   // the tie: 0.9 + 6
    EXPECT_NEAR(1.5f, lowEnd(12), kNear);  // the diagonal meets the column at 1.5
    EXPECT_EQ(0, lowEnd(17));  // the crossbeam's column
}

}  // namespace
