// What the renderer computes to draw, checked without any window.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

#include "app_fixtures.h"
#include "scene.h"
#include "segmentCalc.h"
#include "trackPoints.h"

namespace {

constexpr float kEps = 1e-4f;

void expectPoint(const Point3D& p, float x, float y, float z, float eps = kEps) {
    EXPECT_NEAR(p.x, x, eps);
    EXPECT_NEAR(p.y, y, eps);
    EXPECT_NEAR(p.z, z, eps);
}

int tubeTo(int kind, int segment, int index, ZvTrack* track) {
    return addSupport(kEndFundNode, 0, 0, kind, index, segment, 0, 0, 0, track);
}

// The straight sample track with a third segment after its last bezier.
void buildTrackWithThirdSegment(ZvTrack* track) {
    apptest::buildStraightTrack(track, 0);
    Color plain = createColorARGB(255, 0, 0, 0);
    addSegment(kSegmentPlain, 3, 0, plain, plain, plain, 0, 0, track);
}

TEST(RendererScene, EmptyDocumentHasNothingToDraw) {
    ZvTrack empty;
    TrackScene scene = buildTrackScene(&empty);
    EXPECT_TRUE(scene.centreLines.empty());
    EXPECT_TRUE(scene.trackNodes.empty());
    EXPECT_TRUE(scene.fundNodes.empty());
    EXPECT_TRUE(scene.freeNodes.empty());
    EXPECT_TRUE(scene.tubes.empty());
    EXPECT_TRUE(scene.bezierPoints.empty());
    EXPECT_TRUE(buildTrackScene(nullptr).bezierPoints.empty());
}

TEST(RendererScene, CentreLineRunsFromBezierToBezier) {
    ZvTrack track;
    apptest::buildStraightTrack(&track, 0);
    TrackScene scene = buildTrackScene(&track);
    ASSERT_EQ(scene.centreLines.size(), 2u);
    for (const auto& line : scene.centreLines) ASSERT_EQ(line.size(), 257u);
    expectPoint(scene.centreLines[0].front(), -8, 10, 0);
    expectPoint(scene.centreLines[0][128], -4, 10, 0);
    expectPoint(scene.centreLines[0].back(), 0, 10, 0);
    expectPoint(scene.centreLines[1].back(), 8, 10, 0);
    ASSERT_EQ(scene.bezierPoints.size(), 3u);
    expectPoint(scene.bezierPoints[2], 8, 10, 0);
}

TEST(RendererScene, ClosingSegmentReturnsToTheFirstBezierOnlyOnAClosedTrack) {
    ZvTrack track;
    buildTrackWithThirdSegment(&track);

    // Open: the third segment has no following bezier and draws nothing.
    EXPECT_EQ(buildTrackScene(&track).centreLines.size(), 2u);

    track.closedTrack = 1;
    TrackScene closed = buildTrackScene(&track);
    ASSERT_EQ(closed.centreLines.size(), 3u);
    expectPoint(closed.centreLines[2].front(), 8, 10, 0);
    expectPoint(closed.centreLines[2].back(), -8, 10, 0);
}

TEST(RendererScene, TrackNodesStandAtTheirArcLengthFraction) {
    ZvTrack track;
    apptest::buildStraightTrack(&track, 0);
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    addTrackNode(0, kMarkerColumn, 0.0f, &track);   // never captured by the search
    addTrackNode(1, kMarkerColumn, 1.0f, &track);
    TrackScene scene = buildTrackScene(&track);
    ASSERT_EQ(scene.trackNodes.size(), 3u);
    // Evenly spaced control points: arc length and x agree; the search
    // captures within 0.05 of the requested distance.
    expectPoint(scene.trackNodes[0], -4, 10, 0, 0.06f);
    expectPoint(scene.trackNodes[1], -8, 10, 0);  // the segment start, not the previous node
    expectPoint(scene.trackNodes[2], 8, 10, 0, 0.06f);
}

TEST(RendererScene, TubesJoinExistingEndsAndSkipTheRest) {
    ZvTrack track;
    apptest::buildStraightTrack(&track, 0);
    addTrackNode(1, kMarkerColumn, 0.5f, &track);
    addFundNode(0, 0, 0, 0, 0, 0, 1, 0, 2, &track);
    addFreeNode(3, 4, 5, &track);

    tubeTo(kEndFreeNode, 0, 0, &track);     // drawn: fund node to free node
    tubeTo(kEndTrackNode, 1, 0, &track);    // drawn: fund node to track node
    tubeTo(kEndTrackNode, 1, 1, &track);    // no such track node
    tubeTo(kEndTrackNode, 0, 0, &track);    // segment 0 has no nodes
    tubeTo(kEndTrackNode, 7, 0, &track);    // no such segment
    tubeTo(kEndTrackNode, -1, 0, &track);
    tubeTo(kEndFreeNode, 0, 5, &track);     // no such free node
    tubeTo(kEndFundNode, 0, -1, &track);
    tubeTo(4, 0, 0, &track);                // unknown end kind
    tubeTo(0, 0, 0, &track);

    TrackScene scene = buildTrackScene(&track);
    ASSERT_EQ(scene.tubes.size(), 2u);
    expectPoint(scene.tubes[0].a, 1, 0, 2);
    expectPoint(scene.tubes[0].b, 3, 4, 5);
    expectPoint(scene.tubes[1].a, 1, 0, 2);
    expectPoint(scene.tubes[1].b, 4, 10, 0, 0.06f);
    ASSERT_EQ(scene.fundNodes.size(), 1u);
    ASSERT_EQ(scene.freeNodes.size(), 1u);
    expectPoint(scene.freeNodes[0], 3, 4, 5);
}

TEST(RendererScene, NodesOnASegmentWithoutCurveAreLeftOut) {
    ZvTrack track;
    buildTrackWithThirdSegment(&track);
    addTrackNode(2, kMarkerColumn, 0.5f, &track);
    EXPECT_FALSE(isFinite(markersByArc(track)[2][0]));
    EXPECT_TRUE(buildTrackScene(&track).trackNodes.empty());
}

double secondsToBuild(ZvTrack* track, TrackScene* scene) {
    const auto start = std::chrono::steady_clock::now();
    *scene = buildTrackScene(track);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Far out an arc-length walk takes tens of milliseconds. A segment is walked
// once for its length and once for positions, however many markers and tube
// ends it carries, and the places are those the per-node search finds.
TEST(RendererScene, FarOutSegmentsAreWalkedPerSegmentNotPerNode) {
    ZvTrack oneMarker;
    apptest::buildFarOutTrack(&oneMarker, {1, 1, 300});
    TrackScene scene;
    EXPECT_LT(secondsToBuild(&oneMarker, &scene), 1.0);
    ASSERT_EQ(scene.tubes.size(), 300u);
    ASSERT_EQ(scene.trackNodes.size(), 1u);
    BezierCalc calc;
    Point3D searched{};
    calc.GetBezierPos(0, calc.GetBezierLength(0, 0, &oneMarker) * 0.5f, &searched, 0, &oneMarker);
    expectPoint(scene.trackNodes[0], searched.x, searched.y, searched.z, 0);
    expectPoint(scene.tubes[299].b, searched.x, searched.y, searched.z, 0);

    ZvTrack thousand;
    apptest::buildFarOutTrack(&thousand, {5, 200, 1});
    EXPECT_LT(secondsToBuild(&thousand, &scene), 5.0);
    EXPECT_EQ(scene.trackNodes.size(), 1000u);
    EXPECT_EQ(scene.tubes.size(), 1000u);
}

// Nodes that stand nowhere are left out, with every tube that names them; a
// marker beyond its segment's ends stands at the nearer end.
TEST(RendererScene, NodesThatAreNowhereAreLeftOutAndStrayMarkersStandAtAnEnd) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    ZvTrack track;
    apptest::buildStraightTrack(&track, 0);
    addTrackNode(0, kMarkerColumn, 2.0f, &track);
    addTrackNode(0, kMarkerColumn, -1.0f, &track);
    addTrackNode(0, kMarkerColumn, nan, &track);
    addFundNode(0, 0, 0, 0, 0, 0, 1, 0, 2, &track);
    addFundNode(0, 0, 0, 0, 0, 0, inf, 0, 2, &track);
    addFreeNode(nan, 4, 5, &track);
    addFreeNode(3, 4, 5, &track);
    tubeTo(kEndFreeNode, 0, 0, &track);   // to the free node at NaN
    tubeTo(kEndTrackNode, 0, 2, &track);  // to the marker at NaN
    tubeTo(kEndTrackNode, 0, 0, &track);  // drawn, to the end of segment 0
    addSupport(kEndFundNode, 1, 0, kEndFreeNode, 1, 0, 0, 0, 0, &track);  // from infinity
    track.bezierArray[1].controlIn.y = nan;  // segment 0's curve, not its points
    addBezier(inf, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, &track);

    TrackScene scene = buildTrackScene(&track);
    ASSERT_EQ(scene.trackNodes.size(), 2u);
    expectPoint(scene.trackNodes[0], 0, 10, 0, 0);
    expectPoint(scene.trackNodes[1], -8, 10, 0, 0);
    ASSERT_EQ(scene.fundNodes.size(), 1u);
    ASSERT_EQ(scene.freeNodes.size(), 1u);
    EXPECT_EQ(scene.bezierPoints.size(), 3u);
    ASSERT_EQ(scene.tubes.size(), 1u);
    EXPECT_EQ(scene.tubes[0].tube, 2);
    expectPoint(scene.tubes[0].b, 0, 10, 0, 0);
}

}  // namespace
