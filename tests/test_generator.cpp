// The node frame, the connector strut and the three support structures, as
// they reach the document: positions, order of the elements, tube ends and types.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "generator_fixtures.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kNear = 1e-3f;
const double kTan25 = std::tan(25.0 / 57.29577951);

struct ExpectedTube {
    int kind1, index1, kind2, index2, type;
};

// A level track along +z at `height`; the marker sits at its middle (0, height, 15).
ZvTrack levelTrack(float height, float roll = 0.0f, int style = 0) {
    return genfix::straightTrack({0, height, 0}, {0, height, 30}, roll, style);
}

ZvTrack markedTrack(int nodeType, float height, float roll = 0.0f, int style = 0) {
    ZvTrack track = levelTrack(height, roll, style);
    addTrackNode(0, nodeType, 0.5f, &track);
    return track;
}

Point3D freeNode(const ZvTrack& track, int index) {
    const FreeNodeRecord& node = track.freeNodeArray.at(static_cast<size_t>(index));
    return {node.x, node.y, node.z};
}

void expectAt(Point3D expected, Point3D actual, const char* what) {
    EXPECT_NEAR(expected.x, actual.x, kNear) << what;
    EXPECT_NEAR(expected.y, actual.y, kNear) << what;
    EXPECT_NEAR(expected.z, actual.z, kNear) << what;
}

void expectTubes(const std::vector<ExpectedTube>& expected, const ZvTrack& track) {
    ASSERT_EQ(expected.size(), track.tubeArray.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const TubeRecord& tube = track.tubeArray[i];
        const ExpectedTube& want = expected[i];
        EXPECT_EQ(want.kind1, tube.kind1) << "tube " << i;
        EXPECT_EQ(want.index1, tube.index1) << "tube " << i;
        EXPECT_EQ(want.kind2, tube.kind2) << "tube " << i;
        EXPECT_EQ(want.index2, tube.index2) << "tube " << i;
        EXPECT_EQ(want.type, tube.tubeType) << "tube " << i;
        EXPECT_EQ(0, tube.segment1 | tube.segment2 | tube.tubeValue) << "tube " << i;
        EXPECT_EQ(0.0f, tube.tubeSize) << "tube " << i;
    }
}

void expectCounts(const ZvTrack& track, size_t freeNodes, size_t fundNodes, size_t tubes) {
    EXPECT_EQ(freeNodes, track.freeNodeArray.size());
    EXPECT_EQ(fundNodes, track.fundNodeArray.size());
    EXPECT_EQ(tubes, track.tubeArray.size());
}

float strutLength(const ZvTrack& track) {
    BezierCalc calc;
    Point3D top = freeNode(track, 0), foot = freeNode(track, 1);
    return calc.getDistance(&top, &foot);
}

TEST(ConnectorStrut, PlainMarkerGetsTwoFreeNodesBelowItsPointAndOneRecordedTube) {
    ZvTrack track = markedTrack(3, 10);
    const Supports supports = genfix::runType1(&track);
    expectCounts(track, 2, 0, 1);
    expectAt({0, 9.7f, 15}, freeNode(track, 0), "strut top");
    expectAt({0, 8.7f, 15}, freeNode(track, 1), "strut foot");
    expectTubes({{kEndFreeNode, 0, kEndFreeNode, 1, kTubeLight}}, track);
    EXPECT_EQ(1, supports.lastTube);
    EXPECT_EQ(0, supports.tubes.at(1));
    EXPECT_EQ(0, getTotalTrackNodes(0, &track));
}

TEST(ConnectorStrut, AttachmentDepthFollowsTheCoasterStyle) {
    const std::vector<std::pair<std::vector<int>, float>> rows = {
        {{20, 36, 39, 41, 47}, 0.0f}, {{0, 7, 38, 49}, 0.3f}, {{3, 6, 8, 13}, 0.35f},
        {{34, 35}, 0.4f},             {{50}, 0.55f},          {{1, 18}, 0.6f},
        {{5}, 0.9f},                  {{2, 99, -1}, 0.0f},  // styles the table does not name
    };
    for (const auto& row : rows) {
        for (int style : row.first) {
            ZvTrack track = markedTrack(3, 10, 0, style);
            genfix::runType1(&track);
            EXPECT_NEAR(10 - row.second, freeNode(track, 0).y, 1e-5f) << "style " << style;
            EXPECT_NEAR(10 - row.second - 1.0f, freeNode(track, 1).y, 1e-5f) << "style " << style;
        }
    }
}

TEST(ConnectorStrut, HangsAlongTheBankedDownDirection) {
    // Along +z, L = (-1, 0, 0): at a bank of +pi/2 the strut points to -x.
    ZvTrack track = markedTrack(3, 10, kPi / 2, 5);
    genfix::runType1(&track);
    expectAt({-0.9f, 10, 15}, freeNode(track, 0), "strut top");
    expectAt({-0.9f - 1.25f, 10, 15}, freeNode(track, 1), "strut foot");
}

TEST(ConnectorStrut, LiftGrowsWithBankUpToHalfATurnButNotForCrossbeams) {
    const std::vector<std::pair<float, float>> liftByRoll = {
        {0, 1.0f}, {kPi / 2, 1.25f}, {-kPi / 2, 1.25f}, {kPi, 1.5f}, {3 * kPi / 2, 1.0f}};
    for (const auto& [roll, lift] : liftByRoll) {
        ZvTrack track = markedTrack(3, 10, roll);
        genfix::runType1(&track);
        EXPECT_NEAR(lift, strutLength(track), 1e-5f) << "roll " << roll;
        ZvTrack crossbeam = markedTrack(kMarkerCrossbeam, 10, roll);
        genfix::runType1(&crossbeam);
        EXPECT_NEAR(1.0f, strutLength(crossbeam), 1e-5f) << "roll " << roll;
    }
}

// A roll past a full turn is the roll within it: before, 370 degrees read as
// an overturned track, with a lift of 0.72 and a column top below the strut.
TEST(ConnectorStrut, TracksRolledPastAFullTurnGetTheStructuresOfTheRollWithinIt) {
    constexpr double kRadiansPerDegree = 1 / 57.29577951;
    const std::pair<double, double> rolls[] = {{10, 370}, {10, 730}, {-10, -370}};
    for (int type : {kMarkerStrutOnly, kMarkerColumn, kMarkerBracedLeg, kMarkerCrossbeam}) {
        for (const auto& [roll, turned] : rolls) {
            ZvTrack within = markedTrack(type, 20, static_cast<float>(roll * kRadiansPerDegree));
            genfix::runType1(&within);
            ZvTrack track = markedTrack(type, 20, static_cast<float>(turned * kRadiansPerDegree));
            genfix::runType1(&track);
            ASSERT_EQ(within.freeNodeArray.size(), track.freeNodeArray.size()) << type << " " << turned;
            ASSERT_EQ(within.fundNodeArray.size(), track.fundNodeArray.size());
            for (size_t i = 0; i < track.freeNodeArray.size(); ++i) {
                expectAt(freeNode(within, static_cast<int>(i)), freeNode(track, static_cast<int>(i)), "free node");
            }
            for (size_t i = 0; i < track.fundNodeArray.size(); ++i) {
                EXPECT_NEAR(within.fundNodeArray[i].x, track.fundNodeArray[i].x, kNear);
                EXPECT_NEAR(within.fundNodeArray[i].z, track.fundNodeArray[i].z, kNear);
            }
            for (size_t i = 0; i < track.tubeArray.size(); ++i) {
                EXPECT_EQ(within.tubeArray[i].tubeType, track.tubeArray[i].tubeType);
            }
        }
    }
    // Hand-worked for the column at 370: a lift of 1 + 0.5 x 10 / 180 and a
    // column top 10 / 90 above the strut's foot.
    ZvTrack column = markedTrack(kMarkerColumn, 20, static_cast<float>(370 * kRadiansPerDegree));
    genfix::runType1(&column);
    EXPECT_NEAR(1.0f + 0.5f * 10 / 180, strutLength(column), 1e-4f);
    EXPECT_NEAR(freeNode(column, 1).y + 10.0f / 90, freeNode(column, 2).y, 1e-4f);
}

TEST(Column, StandsBelowTheStrutWithACollarAndRecordsBothTubes) {
    ZvTrack track = markedTrack(kMarkerColumn, 10);
    const Supports supports = genfix::runType1(&track);
    expectCounts(track, 5, 1, 3);
    expectAt({0, 8.7f, 15}, freeNode(track, 2), "column top");
    expectAt({0, 7.7f, 15}, freeNode(track, 3), "collar start");
    expectAt({0, 7.5f, 15}, freeNode(track, 4), "collar end");
    const FundNodeRecord& fund = track.fundNodeArray[0];
    EXPECT_NEAR(0, fund.x, kNear);
    EXPECT_EQ(0.0f, fund.y);
    EXPECT_NEAR(15.0f, fund.z, kNear);
    EXPECT_EQ(0, fund.flagA);
    EXPECT_EQ(1, fund.angleFlag);
    EXPECT_EQ(0.0f, fund.angle);  // heading along +z
    expectTubes({{kEndFreeNode, 0, kEndFreeNode, 1, kTubeLight},
                 {kEndFreeNode, 2, kEndFundNode, 0, kTubeMedium},
                 {kEndFreeNode, 3, kEndFreeNode, 4, kTubeHeavy}},
                track);
    EXPECT_EQ(3, supports.lastTube);
    EXPECT_EQ((std::vector<int>{0, 0, 1, 2}), supports.tubes);
}

TEST(Column, FoundationsFaceTheTrackHeading) {
    ZvTrack track = genfix::straightTrack({0, 10, 0}, {30, 10, 0});
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    genfix::runType1(&track);
    EXPECT_NEAR(kPi / 2, track.fundNodeArray.at(0).angle, 1e-6f);
    // Along +x the side vector is +z.
    ZvTrack braced = genfix::straightTrack({0, 20, 0}, {30, 20, 0});
    addTrackNode(0, kMarkerBracedLeg, 0.5f, &braced);
    genfix::runType1(&braced);
    EXPECT_NEAR(kTan25 * 16, freeNode(braced, 6).z, kNear);
}

TEST(Column, TubeTypesFollowTheHeightClass) {
    struct Case {
        float height;
        int brace, column, collar;
    };
    for (const Case& c : {Case{10, kTubeLight, kTubeMedium, kTubeHeavy},
                          Case{15, kTubeLightest, kTubeLight, kTubeMedium},
                          Case{20, kTubeMedium, kTubeHeavy, kTubeHeaviest}}) {
        ZvTrack track = markedTrack(kMarkerBracedLeg, c.height);
        genfix::runType1(&track);
        ASSERT_GE(track.tubeArray.size(), 5u);
        EXPECT_EQ(c.column, track.tubeArray[1].tubeType) << c.height;
        EXPECT_EQ(c.collar, track.tubeArray[2].tubeType) << c.height;
        EXPECT_EQ(c.brace, track.tubeArray[3].tubeType) << c.height;
        EXPECT_EQ(c.column, track.tubeArray[4].tubeType) << c.height;
    }
}

TEST(Column, TopRisesWithTheFoldedBank) {
    const std::vector<std::pair<float, float>> riseByRoll = {
        {0, 0.0f}, {kPi / 4, 0.5f}, {kPi / 2, 1.0f}, {3 * kPi / 4, 1.0f}, {kPi, 2.0f},
        {3 * kPi / 2, 1.0f}};
    for (const auto& [roll, rise] : riseByRoll) {
        ZvTrack track = markedTrack(kMarkerColumn, 10, roll);
        genfix::runType1(&track);
        const Point3D foot = freeNode(track, 1), top = freeNode(track, 2);
        EXPECT_NEAR(rise, top.y - foot.y, 1e-5f) << "roll " << roll;
        EXPECT_EQ(foot.x, top.x);
        EXPECT_EQ(foot.z, top.z);
    }
}

// Style 0, level and unbanked, P.y = 20, tie height 6, brace angle 25.
TEST(BracedLeg, WorkedCaseBuildsEveryElementInOrder) {
    ZvTrack track = markedTrack(kMarkerBracedLeg, 20);
    const Supports supports = genfix::runType1(&track);
    expectCounts(track, 27, 2, 15);

    const float spread = static_cast<float>(kTan25 * 16.0);  // about 7.461
    const float k2 = spread * 0.625f;                         // about 4.663
    EXPECT_NEAR(7.461f, spread, 1e-3f);
    EXPECT_NEAR(4.663f, k2, 1e-3f);
    const float braceLength = std::sqrt(k2 * k2 + 10 * 10);       // K2 up to G2
    const float footLength = std::sqrt((spread - k2) * (spread - k2) + 6 * 6);  // K2 down to B
    const float diagonal = std::sqrt(k2 * k2 + 5.4f * 5.4f);     // M up to K2
    auto alongBraceUp = [&](float d) { return Point3D{-k2 + k2 * d / braceLength, 6.9f + 10 * d / braceLength, 15}; };
    auto alongBraceDown = [&](float d) {
        return Point3D{-k2 - (spread - k2) * d / footLength, 6.9f - 6 * d / footLength, 15};
    };
    auto alongDiagonal = [&](float d) { return Point3D{-k2 * d / diagonal, 1.5f + 5.4f * d / diagonal, 15}; };

    const std::vector<std::pair<Point3D, const char*>> nodes = {
        {{0, 19.7f, 15}, "strut top F1"},      {{0, 18.7f, 15}, "strut foot F2"},
        {{0, 18.7f, 15}, "column top"},        {{0, 17.7f, 15}, "column collar 1.0"},
        {{0, 17.5f, 15}, "column collar 1.2"}, {{0, 16.9f, 15}, "brace top G2"},
        {{-spread, 0.9f, 15}, "brace foot B"}, {{-spread, 2.0f, 15}, "second leg top"},
        {{0, 6.9f, 15}, "K1"},                 {{-k2, 6.9f, 15}, "K2"},
        {{0, 7.9f, 15}, "K1 collar up 1.0"},   {{0, 8.1f, 15}, "K1 collar up 1.2"},
        {{0, 5.9f, 15}, "K1 collar down 1.0"}, {{0, 5.7f, 15}, "K1 collar down 1.2"},
        {{-1.0f, 6.9f, 15}, "tie 1.0 from K1"}, {{-1.2f, 6.9f, 15}, "tie 1.2 from K1"},
        {{1.0f - k2, 6.9f, 15}, "tie 1.0 from K2"}, {{1.2f - k2, 6.9f, 15}, "tie 1.2 from K2"},
        {alongBraceUp(1.0f), "brace 1.0 from K2 up"}, {alongBraceUp(1.2f), "brace 1.2 from K2 up"},
        {alongBraceDown(1.0f), "brace 1.0 from K2 down"}, {alongBraceDown(1.2f), "brace 1.2 from K2 down"},
        {{0, 1.5f, 15}, "M"},
        {alongDiagonal(1.0f), "diagonal 1.0 from M"}, {alongDiagonal(1.2f), "diagonal 1.2 from M"},
        {alongDiagonal(diagonal - 1.0f), "diagonal 1.0 from K2"},
        {alongDiagonal(diagonal - 1.2f), "diagonal 1.2 from K2"},
    };
    for (size_t i = 0; i < nodes.size(); ++i) expectAt(nodes[i].first, freeNode(track, static_cast<int>(i)), nodes[i].second);
    EXPECT_NEAR(0, track.fundNodeArray[0].x, kNear);
    EXPECT_NEAR(-spread, track.fundNodeArray[1].x, kNear);
    EXPECT_EQ(0.0f, track.fundNodeArray[1].y);

    const int f = kEndFreeNode, g = kEndFundNode;
    expectTubes({{f, 0, f, 1, kTubeLight},   {f, 2, g, 0, kTubeHeavy},   {f, 3, f, 4, kTubeHeaviest},
                 {f, 5, f, 6, kTubeMedium},   {f, 7, g, 1, kTubeHeavy},   {f, 8, f, 9, kTubeMedium},
                 {f, 10, f, 11, kTubeHeaviest}, {f, 12, f, 13, kTubeHeaviest}, {f, 14, f, 15, kTubeHeavy},
                 {f, 16, f, 17, kTubeHeavy}, {f, 18, f, 19, kTubeHeavy}, {f, 20, f, 21, kTubeHeavy},
                 {f, 9, f, 22, kTubeMedium},  {f, 23, f, 24, kTubeHeavy}, {f, 25, f, 26, kTubeHeavy}},
                track);
    EXPECT_EQ((std::vector<int>{0, 0, 1, 2}), supports.tubes);
}

TEST(BracedLeg, TieSectionOnlyWhereTheTrackIsHighEnough) {
    ZvTrack low = markedTrack(kMarkerBracedLeg, 10);
    genfix::runType1(&low);
    expectCounts(low, 8, 2, 5);
    ZvTrack justBelow = markedTrack(kMarkerBracedLeg, 14.8f);
    genfix::runType1(&justBelow);
    expectCounts(justBelow, 8, 2, 5);
    ZvTrack high = markedTrack(kMarkerBracedLeg, 15);
    genfix::runType1(&high);
    expectCounts(high, 27, 2, 15);
    expectAt({0, 6.9f, 15}, freeNode(high, 8), "K1");
}

TEST(BracedLeg, SegmentColoursMirrorTheLegAndDropTheExtraDiagonal) {
    for (bool loaded : {false, true}) {
        ZvTrack mirrored = markedTrack(kMarkerBracedLeg, 20);
        genfix::setColors(&mirrored, 0, genfix::opaqueGreen(loaded), Color{}, genfix::tieColor(255, 255));
        genfix::runType1(&mirrored);
        EXPECT_NEAR(kTan25 * 16, freeNode(mirrored, 6).x, kNear) << "loaded " << loaded;
        expectCounts(mirrored, 27, 2, 15);

        ZvTrack plain = markedTrack(kMarkerBracedLeg, 20);
        genfix::setColors(&plain, 0, Color{}, genfix::opaqueRed(loaded), genfix::tieColor(-1, -1));
        genfix::runType1(&plain);
        EXPECT_NEAR(-kTan25 * 16, freeNode(plain, 6).x, kNear) << "loaded " << loaded;
        expectCounts(plain, 22, 2, 12);
    }
    // Almost opaque pure red is not: the diagonal stays.
    ZvTrack nearlyRed = markedTrack(kMarkerBracedLeg, 20);
    genfix::setColors(&nearlyRed, 0, Color{}, createColorARGB(254, 255, 0, 0), genfix::tieColor(255, 255));
    genfix::runType1(&nearlyRed);
    expectCounts(nearlyRed, 27, 2, 15);
}

TEST(BracedLeg, TieHeightAndBraceAngleComeFromTheThirdColour) {
    ZvTrack track = markedTrack(kMarkerBracedLeg, 20);
    genfix::setColors(&track, 0, Color{}, Color{}, genfix::tieColor(4, 30));
    genfix::runType1(&track);
    const double spread = std::tan(30 / 57.29577951) * 16;
    EXPECT_NEAR(-spread, freeNode(track, 6).x, kNear);
    expectAt({0, 4.9f, 15}, freeNode(track, 8), "K1");
    // Bytes above 127 are negative: 200 is -56 degrees, the other side.
    ZvTrack negative = markedTrack(kMarkerBracedLeg, 20);
    genfix::setColors(&negative, 0, Color{}, Color{}, genfix::tieColor(255, 200));
    genfix::runType1(&negative);
    EXPECT_NEAR(-std::tan(-56 / 57.29577951) * 16, freeNode(negative, 6).x, 1e-2);
}

TEST(BracedLeg, ZeroBraceAngleGivesATieOfZeroLengthWithCollarsAtItsJoints) {
    ZvTrack track = markedTrack(kMarkerBracedLeg, 20);
    genfix::setColors(&track, 0, Color{}, Color{}, genfix::tieColor(255, 0));
    genfix::runType1(&track);
    expectCounts(track, 27, 2, 15);
    EXPECT_TRUE(genfix::nonFiniteValues(track).empty());
    for (int node : {8, 9, 14, 15, 16, 17}) expectAt({0, 6.9f, 15}, freeNode(track, node), "tie joint");
}

TEST(BracedLeg, BraceTopAtFootHeightPutsTheTieEndAtTheBraceFoot) {
    // Style 20, unbanked: F2.y = 2.7 and G2.y = 0.9 (up to rounding); tie height -2.
    ZvTrack track = markedTrack(kMarkerBracedLeg, 3.7f, 0, 20);
    genfix::setColors(&track, 0, Color{}, Color{}, genfix::tieColor(254, 255));
    genfix::runType1(&track);
    expectCounts(track, 27, 2, 15);
    EXPECT_NEAR(0.9f, freeNode(track, 5).y, 1e-6f);
    const Point3D foot = freeNode(track, 6), k2 = freeNode(track, 9);
    EXPECT_EQ(foot.x, k2.x);
    EXPECT_EQ(foot.y, k2.y);
    EXPECT_EQ(foot.z, k2.z);
}

TEST(BracedLeg, NearlyHorizontalBraceWarnsButStaysFinite) {
    ZvTrack track = markedTrack(kMarkerBracedLeg, 20);
    genfix::setColors(&track, 0, Color{}, Color{}, genfix::tieColor(255, 90));
    const genfix::MakeRun run = genfix::runMake(&track);
    EXPECT_EQ("0\n1\n", run.out);
    EXPECT_NE(std::string::npos, run.warnings.find("brace angle 90 degrees")) << run.warnings;
    EXPECT_TRUE(genfix::nonFiniteValues(track).empty());
    expectCounts(track, 27, 2, 15);
}

TEST(Crossbeam, AtQuarterBankReachesFurtherToTheLongSide) {
    ZvTrack track = markedTrack(kMarkerCrossbeam, 10, kPi / 2);
    const Supports supports = genfix::runType1(&track);
    expectCounts(track, 5, 1, 3);
    // D = L = (-1, 0, 0): F2 = P + 1.3 L.
    expectAt({-1.3f, 10, 15}, freeNode(track, 1), "F2");
    expectAt({-2.8f, 10, 15}, freeNode(track, 2), "X1: 1.5 along +L");
    expectAt({-0.8f, 10, 15}, freeNode(track, 3), "X2: 0.5 along -L");
    expectAt({-2.3f, 10, 15}, freeNode(track, 4), "column top: 1.0 along +L");
    EXPECT_NEAR(-2.3f, track.fundNodeArray[0].x, kNear);
    expectTubes({{kEndFreeNode, 0, kEndFreeNode, 1, kTubeLight},
                 {kEndFreeNode, 2, kEndFreeNode, 3, kTubeMedium},
                 {kEndFreeNode, 4, kEndFundNode, 0, kTubeMedium}},
                track);
    EXPECT_EQ(1, supports.lastTube);
}

TEST(Crossbeam, OverturnedTrackSwapsTheArms) {
    ZvTrack track = markedTrack(kMarkerCrossbeam, 10, 3 * kPi / 2);
    genfix::runType1(&track);
    const Point3D f2 = freeNode(track, 1);
    // Folded to 90 degrees, the long arm now reaches along -L (+x).
    EXPECT_NEAR(f2.x + 1.5f, freeNode(track, 2).x, kNear);
    EXPECT_NEAR(f2.x - 0.5f, freeNode(track, 3).x, kNear);
    EXPECT_NEAR(f2.x + 1.0f, freeNode(track, 4).x, kNear);
}

TEST(Crossbeam, WithoutBankItsColumnStandsHalfAUnitToTheShortSide) {
    // A full turn of roll is no bank either.
    for (const auto& [roll, offset] : {std::pair<float, float>{0, 0.5f}, {2 * kPi, 0.5f}}) {
        ZvTrack track = markedTrack(kMarkerCrossbeam, 10, roll);
        genfix::runType1(&track);
        EXPECT_TRUE(genfix::nonFiniteValues(track).empty());
        const Point3D f2 = freeNode(track, 1);
        expectAt(f2, freeNode(track, 2), "X1");
        expectAt(f2, freeNode(track, 3), "X2");
        expectAt({f2.x + offset, f2.y, f2.z}, freeNode(track, 4), "column top");
    }
}

TEST(NodeFrame, VerticalTangentGetsTheSideOfATrackHeadingAlongZ) {
    ZvTrack track = genfix::straightTrack({0, 0, 0}, {0, 30, 0});
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    genfix::runType1(&track);
    ASSERT_EQ(5u, track.freeNodeArray.size());
    EXPECT_TRUE(genfix::nonFiniteValues(track).empty());
    // Side (-1, 0, 0), normal (0, 0, -1): unbanked, down points along +z.
    expectAt({0, 15, 0.3f}, freeNode(track, 0), "strut top");
    expectAt({0, 15, 1.3f}, freeNode(track, 1), "strut foot");
    EXPECT_EQ(0.0f, track.fundNodeArray[0].angle);
}

TEST(NodeFrame, VanishingTangentHangsTheStrutStraightDown) {
    ZvTrack track = genfix::straightTrack({4, 10, 4}, {4, 10, 4});
    addTrackNode(0, kMarkerCrossbeam, 0.5f, &track);
    genfix::runType1(&track);
    EXPECT_TRUE(genfix::nonFiniteValues(track).empty());
    expectAt({4, 9.7f, 4}, freeNode(track, 0), "strut top");
    expectAt({4, 8.7f, 4}, freeNode(track, 1), "strut foot");
    expectAt({4.5f, 8.7f, 4}, freeNode(track, 4), "crossbeam column");
}

TEST(Ladder, StepsAlongTwoZeroOneFiveSix) {
    strutWright generator;
    EXPECT_EQ(0, generator.getSupport(1, -1));
    EXPECT_EQ(5, generator.getSupport(1, 1));
    EXPECT_EQ(6, generator.getSupport(5, 1));
    EXPECT_EQ(2, generator.getSupport(0, -2));
    EXPECT_EQ(2, generator.getSupport(6, 1));
    EXPECT_EQ(2, generator.getSupport(2, -1));
    EXPECT_EQ(1, generator.getSupport(1, 0));
    EXPECT_EQ(2, generator.getSupport(4, 0));  // not on the ladder
}

TEST(SmallOperations, ColoursCompareAsStoredBytesAndPointsInterpolate) {
    strutWright generator;
    EXPECT_EQ(1, generator.matchColor(genfix::opaqueRed(false), genfix::opaqueRed(true)));
    EXPECT_EQ(0, generator.matchColor(genfix::opaqueRed(false), genfix::opaqueGreen(false)));
    const Point3D a{1, 2, 3}, b{5, -2, 7};
    const Point3D at0 = generator.getLinearPosByValue(a, b, 0);
    const Point3D at1 = generator.getLinearPosByValue(a, b, 1);
    const Point3D beyond = generator.getLinearPosByValue(a, b, 1.5f);
    expectAt(a, at0, "t = 0");
    expectAt(b, at1, "t = 1");
    expectAt({7, -4, 9}, beyond, "t = 1.5");
}

}  // namespace
