// The renderer's cached frames against frames worked out anew, drawn in a
// window on a private X server: the same pixels, and track-attached points
// where their arc-length placement puts them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app_fixtures.h"
#include "drawTrack.h"
#include "glFrame.h"
#include "keyBindings.h"
#include "scene.h"
#include "trackPoints.h"
#include "viewFrame.h"

using namespace apptest;

// The software GL driver leaves allocations behind when it is unloaded at
// exit, out of reach of any suppression; like the program's window runs,
// this GL test is left out of the leak check (the sanitizers' other checks
// stay on).
extern "C" int __lsan_is_turned_off() { return 1; }

namespace {

using Frame = std::vector<unsigned char>;

constexpr int kNear = 3;  // pixels around a projected point that may carry its colour
constexpr float kTrackZ = 20.0f;  // halfway between the camera and the scene shift

struct Rgb {
    int r, g, b;
};
constexpr Rgb kNode{127, 0, 0};
constexpr Rgb kCentreLine{0, 183, 239};

class RenderCache : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (server || !XServer::available()) return;  // one window for the whole run
        server = std::make_unique<XServer>();
        if (server->running()) windowOpen = glframe::openFrameWindow(server->display().name, &why);
    }
    // The window toolkit keeps its connection until the process ends, so the
    // server stays up for the rest of the run.
    static void TearDownTestSuite() {}

    void SetUp() override {
        if (!server) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(server->running()) << "Xvfb did not start";
        ASSERT_TRUE(windowOpen) << why;
    }

    static Frame frameOf(drawTrack& renderer, bool cached, const std::string& keys = "") {
        CCamera camera;
        for (char key : keys) applyCameraKey(static_cast<unsigned char>(key), &camera);
        glframe::drawFrame(camera, [&renderer, cached] {
            cached ? renderer.Render() : renderer.RenderUncached();
        });
        return glframe::readFrame();
    }

    static std::unique_ptr<XServer> server;
    static bool windowOpen;
    static std::string why;
};

std::unique_ptr<XServer> RenderCache::server;
bool RenderCache::windowOpen = false;
std::string RenderCache::why;

Picture pictureOf(const Frame& frame) {
    Picture picture;
    picture.width = picture.height = glframe::kFrameSize;
    picture.rgb = frame;
    return picture;
}

bool colourNear(const Frame& frame, const Point3D& p, Rgb colour) {
    glframe::WindowPixel at = glframe::projectPoint(p);
    return pictureOf(frame).hasColourNear(at.column, at.row, kNear, colour.r, colour.g, colour.b);
}

// A closed triangle in front of the camera. Segment 0 bows upwards with its
// handles crowding its start, so half its arc length lies far from its point
// at parameter 0.5. Its marker at 0.5 is named by a tube from
// the ground and so survives generation; segment 1 carries a column and a
// braced leg, segment 2 (the closing one) a crossbeam.
void buildAttachedTrack(ZvTrack* track) {
    initNewZvTrack(track);
    track->bezierArray.clear();
    addBezier(-6, 10, kTrackZ, -8, 10, kTrackZ, -5.9f, 12, kTrackZ, 0, 0, 0, 0, track);
    addBezier(6, 10, kTrackZ, -4, 12, kTrackZ, 7, 11, kTrackZ, 0, 0, 0, 0, track);
    addBezier(0, 16, kTrackZ, 2, 15, kTrackZ, -2, 15, kTrackZ, 0.3f, 0, 0, 0, track);
    track->closedTrack = 1;
    Color plain = createColorARGB(255, 0, 0, 0);
    for (int n = 1; n <= 3; ++n) addSegment(kSegmentPlain, n, 0, plain, plain, plain, 0, 0, track);
    addTrackNode(0, kMarkerColumn, 0.5f, track);
    addTrackNode(1, kMarkerColumn, 0.3f, track);
    addTrackNode(1, kMarkerBracedLeg, 0.7f, track);
    addTrackNode(2, kMarkerCrossbeam, 0.5f, track);
    int ground = addFundNode(0, 0, 0, 0, 0, 0, 0, 0, kTrackZ, track);
    addSupport(kEndFundNode, ground, 0, kEndTrackNode, 0, 0, 0, 0, 0, track);
}

TEST_F(RenderCache, CachedFramesMatchFramesWorkedOutAnew) {
    ZvTrack track;
    buildAttachedTrack(&track);
    generateWithDriverDefaults(&track);
    ASSERT_EQ(getTotalTrackNodes(0, &track), 1) << "the attached marker must survive";
    ASSERT_GT(getTotalFreeNodes(&track), 10);

    drawTrack renderer;
    renderer.setTrack(&track);
    for (const char* keys : {"", "aaw", "xxxdd", "ssssrrf"}) {
        SCOPED_TRACE(keys);
        const Frame uncached = frameOf(renderer, false, keys);
        const Frame cached = frameOf(renderer, true, keys);
        EXPECT_TRUE(cached == uncached);
        EXPECT_GT(pictureOf(cached).count(kNode.r, kNode.g, kNode.b), 0);
    }
    // The closing segment, from bezier 2 back to bezier 0, is in the record.
    SegmentCurve closing;
    ASSERT_TRUE(segmentCurve(2, &track, &closing));
    const Frame frame = frameOf(renderer, true);
    EXPECT_TRUE(colourNear(frame, centreLinePoint(closing, 0.5f), kCentreLine));
}

TEST_F(RenderCache, SurvivingMarkerStandsAtItsArcLengthPlace) {
    ZvTrack track;
    buildAttachedTrack(&track);
    generateWithDriverDefaults(&track);
    const Point3D byArcLength = markersByArc(track)[0][0];
    ASSERT_TRUE(isFinite(byArcLength));
    BezierCalc calc;
    const Point3D byParameter = calc.GetPosSegmentNode(0.5f, 0, &track);
    EXPECT_GT(byArcLength.x - byParameter.x, 2.0f) << "the two placements must tell apart";

    drawTrack renderer;
    renderer.setTrack(&track);
    for (bool cached : {false, true, true}) {
        const Frame frame = frameOf(renderer, cached);
        EXPECT_TRUE(colourNear(frame, byArcLength, kNode)) << "cached " << cached;
        EXPECT_FALSE(colourNear(frame, byParameter, kNode)) << "cached " << cached;
    }
}

TEST_F(RenderCache, AnotherDocumentReplacesTheRecordedOne) {
    ZvTrack first, second;
    buildAttachedTrack(&first);
    generateWithDriverDefaults(&first);
    buildStraightTrack(&second, 2);

    drawTrack renderer;
    renderer.setTrack(&first);
    const Frame firstFrame = frameOf(renderer, true);
    renderer.setTrack(&second);
    const Frame secondCached = frameOf(renderer, true);
    EXPECT_FALSE(secondCached == firstFrame);
    EXPECT_TRUE(secondCached == frameOf(renderer, false));
}

// Far away every node is smaller than a pixel: drawn as a point it still
// shows, where a sphere that small would cover no pixel at all.
TEST_F(RenderCache, FarNodesShowAsPoints) {
    ZvTrack track;
    buildStraightTrack(&track, 2);
    generateWithDriverDefaults(&track);
    drawTrack renderer;
    renderer.setTrack(&track);
    CCamera camera;
    camera.Position = F3dVector(0, 40, 600);  // 640 away, within the far plane
    glframe::drawFrame(camera, [&renderer] { renderer.Render(); });
    const Frame frame = glframe::readFrame();
    for (const Point3D& p : renderer.scene().bezierPoints) {
        EXPECT_TRUE(colourNear(frame, p, {0, 0, 127}));
    }
}

// Two tubes whose pictures cross: the nearer one, listed first, is drawn
// first. In the solid view the nearer one hides the farther one all the same;
// the farther one carries the warning colour, so the two tell apart.
TEST_F(RenderCache, SolidViewHidesFartherTubesBehindNearerOnes) {
    ZvTrack track;
    initNewZvTrack(&track);
    track.bezierArray.clear();
    const Point3D ends[] = {{-3, 8, 25}, {3, 8, 25}, {0, 5, 15}, {0, 11, 15}};
    for (const Point3D& p : ends) addFreeNode(p.x, p.y, p.z, &track);
    addSupport(kEndFreeNode, 0, 0, kEndFreeNode, 1, 0, kTubeHeavy, 0, 0, &track);
    const int far = addSupport(kEndFreeNode, 2, 0, kEndFreeNode, 3, 0, kTubeHeavy, 0, 0, &track);
    drawTrack renderer;
    renderer.setTrack(&track);
    renderer.setSolid(true);
    renderer.warnTubes({far});
    ViewFrame view(false);
    CCamera camera;
    glframe::drawFrame(
        camera, [&] { view.draw(camera, renderer, glframe::kFrameSize, glframe::kFrameSize); });
    const Frame frame = glframe::readFrame();
    auto colourAt = [&frame](const Point3D& p) {
        const glframe::WindowPixel at = glframe::projectPoint(p);
        int rgb[3];
        pictureOf(frame).at(at.column, at.row, rgb);
        return Rgb{rgb[0], rgb[1], rgb[2]};
    };
    const Rgb crossing = colourAt({0, 8, 25});
    EXPECT_TRUE(crossing.r > 100 && crossing.g < 60)
        << crossing.r << "," << crossing.g << "," << crossing.b;
    const Rgb warned = colourAt({0, 10.5f, 15});
    EXPECT_TRUE(warned.r > 100 && warned.g > 80 && warned.b < 60)
        << warned.r << "," << warned.g << "," << warned.b;
}

}  // namespace
