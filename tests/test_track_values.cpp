// Colours, unit conversions, vector arithmetic, terrain cells, the values of a
// new track and the document-wide settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "track.h"

namespace {

void expectPoint(Point3D actual, float x, float y, float z) {
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
    EXPECT_FLOAT_EQ(actual.z, z);
}

void expectWhite(const Color& color) {
    EXPECT_EQ(color.alpha, 255);
    EXPECT_EQ(color.blue, 255);
    EXPECT_EQ(color.green, 255);
    EXPECT_EQ(color.red, 255);
}

TEST(Colors, ArgumentOrderDiffersFromRecordOrder) {
    Color c = createColorARGB(1, 2, 3, 4);
    EXPECT_EQ(c.alpha, 1);
    EXPECT_EQ(c.red, 2);
    EXPECT_EQ(c.green, 3);
    EXPECT_EQ(c.blue, 4);
}

TEST(Colors, SetAndLoadedFormsOfFullComponentAgree) {
    Color set = createColorARGB(255, 255, 255, 255);
    expectWhite(set);  // kept as passed, not folded to -1
    EXPECT_EQ(colorComponent(set.red), -1);
    EXPECT_EQ(colorComponent(-1), -1);
    EXPECT_EQ(colorComponent(0x1FF), -1);  // only the low 8 bits count
    EXPECT_EQ(colorComponent(256), 0);
    EXPECT_EQ(colorComponent(128), -128);
}

TEST(Units, ConversionsUseTheTrackGravityAndRoundOnce) {
    EXPECT_EQ(toG(9.81665f), 1.0f);
    EXPECT_NE(toG(9.80665f), 1.0f);
    EXPECT_EQ(toNewton(1.0f), static_cast<float>(9.81665));
    EXPECT_EQ(toNewton(2.0f), static_cast<float>(2.0 * 9.81665));
    EXPECT_EQ(toKmh(10.0f), 36.0f);
    EXPECT_EQ(toMs(36.0f), 10.0f);
    // Computed in double and rounded once; single-precision arithmetic with
    // float constants lands one step off for these values.
    EXPECT_EQ(toMs(3.0f), 0.833333313f);
    EXPECT_EQ(toNewton(3.0f), 29.4499493f);
}

TEST(Vectors, CrossProductIsRightHanded) {
    Vectors v;
    expectPoint(v.CrossProduct({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
    expectPoint(v.CrossProduct({0, 1, 0}, {1, 0, 0}), 0, 0, -1);
    expectPoint(v.CrossProduct({2, 4, 6}, {1, 2, 3}), 0, 0, 0);
}

TEST(Vectors, ArithmeticAndLength) {
    Vectors v;
    expectPoint(v.Add({1, 2, 3}, {10, 20, 30}), 11, 22, 33);
    expectPoint(v.Subtract({5, 1, 0}, {2, 3, -1}), 3, -2, 1);
    expectPoint(v.MultScalar({1, -2, 3}, 2.5f), 2.5f, -5, 7.5f);
    EXPECT_EQ(v.GetLength({3, 0, 4}), 5.0f);

    Point3D inverted = v.Invert({0, 0, 0});
    EXPECT_TRUE(std::signbit(inverted.x) && std::signbit(inverted.y) && std::signbit(inverted.z));
    expectPoint(inverted, 0, 0, 0);
}

TEST(Vectors, NormalizeScalesToUnitLength) {
    Vectors v;
    Point3D n = v.Normalize({3, 0, 4});
    EXPECT_EQ(n.x, 3.0f * (1.0f / 5.0f));
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, 4.0f * (1.0f / 5.0f));
    EXPECT_NEAR(v.GetLength(v.Normalize({1, 1, 1})), 1.0f, 1e-6f);
}

TEST(Vectors, NormalizeWithoutDirectionYieldsZero) {
    Vectors v;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float tiny = std::numeric_limits<float>::denorm_min();
    for (Point3D bad : {Point3D{0, 0, 0}, Point3D{inf, 0, 0}, Point3D{1, nan, 0},
                        Point3D{tiny, 0, 0}}) {
        Point3D n = v.Normalize(bad);
        EXPECT_EQ(n.x, 0.0f);
        EXPECT_EQ(n.y, 0.0f);
        EXPECT_EQ(n.z, 0.0f);
    }
}

TEST(Terrain, CellsInsideTheGridOnly) {
    ZvTrack track;
    EXPECT_EQ(terrainHeight(&track, 0, 0), 0.0f);
    setTerrainHeight(639, 999, 7.5f, &track);
    EXPECT_EQ(terrainHeight(&track, 639, 999), 7.5f);
    EXPECT_EQ(terrainHeight(&track, 639, 998), 0.0f);
    for (auto cell : {std::pair<int, int>{640, 0}, {0, 1000}, {-1, 0}, {0, -1}}) {
        setTerrainHeight(cell.first, cell.second, 1.0f, &track);
        EXPECT_EQ(terrainHeight(&track, cell.first, cell.second), 0.0f);
    }
    EXPECT_EQ(track.terrainHeights.size(), size_t{640} * 1000);
}

TEST(NewTrack, HeaderAndTrackChunkValues) {
    ZvTrack track;
    initNewZvTrack(&track);
    EXPECT_EQ(track.headerValue, 0);
    EXPECT_EQ(getMajor(&track), 1);
    EXPECT_EQ(getMinor(&track), 6);
    EXPECT_EQ(getRevision(&track), 0);
    EXPECT_EQ(getMarkup(&track), 0);
    EXPECT_EQ(track.headerByte, 0);
    EXPECT_EQ(getUse16friction(&track), 1);
    EXPECT_EQ(track.trckLength, 88);
    EXPECT_EQ(getCoasterStyle(&track), 1);
    EXPECT_EQ(track.trckValue, 6);
    ASSERT_EQ(track.trckEntries.size(), 32u);
    for (const TrckEntry& entry : track.trckEntries) {
        EXPECT_EQ(entry.flag, 0);
        EXPECT_TRUE(entry.text.empty());
        for (const Color& c : entry.colors) expectWhite(c);
    }
    for (const Color& c : track.trackColors) expectWhite(c);
    for (int8_t b : track.trckBytes) EXPECT_EQ(b, 0);
    EXPECT_EQ(track.trckInt, 0);
    EXPECT_EQ(track.trckFlag, 1);
    expectWhite(track.trckColor);
    EXPECT_EQ(track.infoLength, 39);
    EXPECT_EQ(getAuthorComments(&track), kNewTrackComments);
    EXPECT_STREQ(getAuthorComments(&track), "Created with Talwins libzvtrack v1.0");
}

TEST(NewTrack, OneBezierAndEmptyCollections) {
    ZvTrack track;
    initNewZvTrack(&track);
    EXPECT_EQ(track.bezrLength, 100);
    ASSERT_EQ(getNumBeziers(&track), 1);
    BezierRecord b = getBezier(0, &track);
    expectPoint(b.position, 0, 1, 0);
    expectPoint(b.controlIn, 0, 1, 10);
    expectPoint(b.controlOut, 0, 1, -10);
    EXPECT_EQ(b.roll, 0.0f);
    EXPECT_EQ(b.rollFlag + b.auxFlag1 + b.auxFlag2, 0);
    EXPECT_EQ(track.segmLength, 41);
    EXPECT_EQ(getTotalSegments(&track), 0);
    EXPECT_EQ(track.closedTrack, 0);
    EXPECT_EQ(track.suppLength, 36);
    EXPECT_EQ(track.fundLength, 40);
    EXPECT_EQ(track.rascLength, 40);
    EXPECT_EQ(track.frenLength, 40);
    EXPECT_EQ(track.tubeLength, 40);
    EXPECT_EQ(track.catwLength, 40);
    EXPECT_EQ(track.scenLength, 88);
    EXPECT_EQ(track.scobLength, 40);
    EXPECT_EQ(track.envcLength, 44);
    EXPECT_EQ(getTotalSupport(&track), 0);
    EXPECT_EQ(getTotalFreeNodes(&track), 0);
    EXPECT_EQ(getTotalFundNodes(&track), 0);
    EXPECT_TRUE(track.trackNodeLists.empty());
    EXPECT_TRUE(track.catwRecords.empty() && track.scenRecords.empty() && track.scobRecords.empty());
    EXPECT_TRUE(track.envcText1.empty() && track.envcText2.empty());
}

TEST(NewTrack, ReplacesOldContentButKeepsTerrainAndScenTrailer) {
    ZvTrack track;
    track.hasTerrain = 1;
    track.terrainRows = 3;
    track.terrainColumns = 4;
    track.teraText1 = "grass";
    setTerrainHeight(2, 3, 9.0f, &track);
    track.scenTrailer = 5;
    addSegment(kSegmentPlain, 1, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    addTrackNode(0, 7, 0.5f, &track);
    addFreeNode(1, 2, 3, &track);
    addBezier(1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, &track);
    addBezier(2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, &track);
    track.scenRecords.resize(2);
    track.envcText1 = "sky";
    track.ownedAuthorComments = std::make_shared<const std::string>("loaded");
    track.authorComments = track.ownedAuthorComments->c_str();

    initNewZvTrack(&track);
    EXPECT_EQ(getTotalSegments(&track), 0);
    EXPECT_TRUE(track.trackNodeLists.empty());
    EXPECT_EQ(getTotalFreeNodes(&track), 0);
    EXPECT_EQ(getNumBeziers(&track), 1);
    EXPECT_TRUE(track.scenRecords.empty());
    EXPECT_TRUE(track.envcText1.empty());
    EXPECT_EQ(track.ownedAuthorComments, nullptr);
    EXPECT_EQ(getAuthorComments(&track), kNewTrackComments);
    EXPECT_EQ(track.hasTerrain, 1);
    EXPECT_EQ(track.terrainRows, 3);
    EXPECT_EQ(track.terrainColumns, 4);
    EXPECT_EQ(track.teraText1, "grass");
    EXPECT_EQ(terrainHeight(&track, 2, 3), 9.0f);
    EXPECT_EQ(track.scenTrailer, 5);
}

TEST(Settings, VersionBytesKeepTheLowEightBitsSignedOthersAnyInt) {
    ZvTrack track;
    setMajor(300, &track);
    EXPECT_EQ(getMajor(&track), 44);
    setMajor(200, &track);
    EXPECT_EQ(getMajor(&track), -56);
    setMinor(-1, &track);
    EXPECT_EQ(getMinor(&track), -1);
    setRevision(256 + 7, &track);
    EXPECT_EQ(getRevision(&track), 7);
    setMarkup(128, &track);
    EXPECT_EQ(getMarkup(&track), -128);
    EXPECT_EQ(getMajor(&track), -56);  // each setter writes its own byte
    setCoasterStyle(12, &track);
    EXPECT_EQ(getCoasterStyle(&track), 12);
    setUse16friction(2, &track);
    EXPECT_EQ(getUse16friction(&track), 2);
}

TEST(Settings, AuthorCommentsStoreThePointerOnly) {
    ZvTrack track;
    EXPECT_EQ(getAuthorComments(&track), nullptr);
    initNewZvTrack(&track);
    auto owned = std::make_shared<const std::string>("from file");
    track.ownedAuthorComments = owned;
    const char* mine = "--- banner ---\nfrom file";
    setAuthorComments(mine, &track);
    EXPECT_EQ(getAuthorComments(&track), mine);  // the same pointer, not a copy
    EXPECT_EQ(track.infoLength, 39);
    EXPECT_EQ(track.ownedAuthorComments, owned);  // earlier text stays alive
}

}  // namespace
