// The viewer's first frame, taken with --screenshot in a private X server:
// each element's colour where the camera and the geometry put it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

#include "app_fixtures.h"
#include "camera.h"
#include "generator_fixtures.h"
#include "keyBindings.h"
#include "scene.h"
#include "viewGeometry.h"

using namespace apptest;

namespace {

constexpr int kFrameSize = 600;
constexpr int kNear = 2;  // pixels around a projected point that may carry its colour

struct Rgb {
    int r, g, b;
};
constexpr Rgb kGrid{0, 127, 0};
constexpr Rgb kTube{255, 0, 0};
constexpr Rgb kFundNode{180, 180, 180};
constexpr Rgb kNode{127, 0, 0};
constexpr Rgb kBezierPoint{0, 0, 127};
constexpr Rgb kCentreLine{0, 183, 239};
constexpr Rgb kBlack{0, 0, 0};

struct Pixel {
    int column, row;  // row from the top
};

// Where a world point lands in the frame: the display callback's matrices
// (camera rotations and translation, the scene shift (0, -10, -40)) and the
// projection (40 degrees, aspect 1, near 0.5) worked out by hand.
Pixel project(const CCamera& camera, Point3D p) {
    const double toRadians = std::acos(-1.0) / 180.0;
    double x = p.x - camera.Position.x;
    double y = p.y - 10.0 - camera.Position.y;
    double z = p.z - 40.0 - camera.Position.z;
    double yaw = -camera.AngleY * toRadians, pitch = -camera.AngleX * toRadians;
    double x1 = std::cos(yaw) * x + std::sin(yaw) * z;
    double z1 = -std::sin(yaw) * x + std::cos(yaw) * z;
    double y2 = std::cos(pitch) * y - std::sin(pitch) * z1;
    double z2 = std::sin(pitch) * y + std::cos(pitch) * z1;
    double focal = 1.0 / std::tan(20.0 * toRadians);
    double ndcX = focal * x1 / -z2, ndcY = focal * y2 / -z2;
    return Pixel{static_cast<int>(std::floor((ndcX + 1) * kFrameSize / 2)),
                 kFrameSize - 1 - static_cast<int>(std::floor((ndcY + 1) * kFrameSize / 2))};
}

class WindowPixels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (XServer::available()) server = new XServer;
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        if (!server) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(server->running()) << "Xvfb did not start";
    }

    // Saves `track`, runs strutwright --screenshot with `keys` on it and reads
    // the picture; *generated receives the program's output document.
    Picture shoot(const std::string& name, ZvTrack* track, const std::string& keys = "",
                  ZvTrack* generated = nullptr, const std::vector<std::string>& options = {}) {
        std::string dir = scratchDir("pixels-" + name);
        std::string input = dir + "/" + name + ".zvtrack";
        saveTrack(input, track);
        std::vector<std::string> args{"--screenshot", dir + "/frame.png"};
        if (!keys.empty()) args.insert(args.end(), {"--keys", keys});
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(input);
        ProgramRun run = runProgram(args, server->display());
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(run.out, "0\n1\n");
        if (generated) loadTrack(input + "-new.zvtrack", generated);
        return readPng(dir + "/frame.png");
    }

    static XServer* server;
};

XServer* WindowPixels::server = nullptr;

void expectColourAt(const Picture& picture, const CCamera& camera, Point3D p, Rgb colour,
                    const char* what) {
    Pixel at = project(camera, p);
    EXPECT_TRUE(picture.hasColourNear(at.column, at.row, kNear, colour.r, colour.g, colour.b))
        << what << " (" << colour.r << "," << colour.g << "," << colour.b << ") expected near "
        << at.column << "," << at.row << " for (" << p.x << "," << p.y << "," << p.z << ")";
}

void expectExactly(const Picture& picture, const CCamera& camera, Point3D p, Rgb colour,
                   const char* what) {
    Pixel at = project(camera, p);
    int c[3];
    picture.at(at.column, at.row, c);
    EXPECT_TRUE(c[0] == colour.r && c[1] == colour.g && c[2] == colour.b)
        << what << " at " << at.column << "," << at.row << " is (" << c[0] << "," << c[1]
        << "," << c[2] << ")";
}

// The straight sample track plus hand-placed supports: a column at x = -12
// (foundation node, free node at height 6, tube) and a tube from the ground at
// x = 8 up to a free node sitting exactly on the last bezier point.
void buildFurnishedTrack(ZvTrack* track) {
    buildStraightTrack(track, 0);
    int fundLeft = addFundNode(0, 0, 0, 0, 0, 0, -12, 0, 0, track);
    int freeLeft = addFreeNode(-12, 6, 0, track);
    addSupport(kEndFundNode, fundLeft, 0, kEndFreeNode, freeLeft, 0, 0, 0, 0, track);
    int fundRight = addFundNode(0, 0, 0, 0, 0, 0, 8, 0, 4, track);
    int freeOnBezier = addFreeNode(8, 10, 0, track);
    addSupport(kEndFundNode, fundRight, 0, kEndFreeNode, freeOnBezier, 0, 0, 0, 0, track);
}

TEST_F(WindowPixels, FirstFrameShowsEachElementWhereTheGeometryPutsIt) {
    ZvTrack track;
    buildFurnishedTrack(&track);
    ZvTrack generated;
    Picture frame = shoot("furnished", &track, "", &generated);
    ASSERT_TRUE(frame.valid());
    ASSERT_EQ(frame.width, kFrameSize);
    ASSERT_EQ(frame.height, kFrameSize);
    CCamera camera;

    expectColourAt(frame, camera, {2, 0, 0}, kGrid, "grid line z = 0");
    expectColourAt(frame, camera, {-5, 0, 10}, kGrid, "grid line z = 10");
    expectColourAt(frame, camera, {-4, 10, 0}, kCentreLine, "centre line, segment 0");
    expectColourAt(frame, camera, {4, 10, 0}, kCentreLine, "centre line, segment 1");
    expectColourAt(frame, camera, {-12, 3, 0}, kTube, "tube of the left column");
    expectColourAt(frame, camera, {-12, 0, 0}, kFundNode, "left foundation node");
    expectColourAt(frame, camera, {-12, 6, 0}, kNode, "left free node");
    expectColourAt(frame, camera, {-8, 10, 0}, kBezierPoint, "bezier 0");
    expectExactly(frame, camera, {0, 10, 0}, kBezierPoint, "bezier 1");
    // The bezier point covers the free node and the tube ending under it.
    expectExactly(frame, camera, {8, 10, 0}, kBezierPoint, "bezier 2 over its tube");
    expectExactly(frame, camera, {0, 20, 0}, kBlack, "sky");
    expectExactly(frame, camera, {-4, 14, 0}, kBlack, "sky above the track");

    // Whatever the generator built is drawn where the saved document says.
    TrackScene scene = buildTrackScene(&generated);
    for (const Point3D& p : scene.fundNodes) expectColourAt(frame, camera, p, kFundNode, "fund");
    for (const Point3D& p : scene.trackNodes) expectColourAt(frame, camera, p, kNode, "marker");
}

// A marker held by an existing tube survives generation and is drawn as a
// dark-red sphere at its place on the track; the tube reaching it is drawn
// after it, so the sphere shows around the tube's end.
TEST_F(WindowPixels, SurvivingMarkerIsDrawnWhereItStands) {
    ZvTrack track;
    buildStraightTrack(&track, 0);
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    int ground = addFundNode(0, 0, 0, 0, 0, 0, -4, 0, 6, &track);
    addSupport(kEndFundNode, ground, 0, kEndTrackNode, 0, 0, 0, 0, 0, &track);
    ZvTrack generated;
    Picture frame = shoot("marker", &track, "", &generated);
    ASSERT_TRUE(frame.valid());
    TrackScene scene = buildTrackScene(&generated);
    ASSERT_EQ(scene.trackNodes.size(), 1u);
    expectColourAt(frame, CCamera(), scene.trackNodes[0], kNode, "surviving marker");
    expectColourAt(frame, CCamera(), {-4, 0, 6}, kFundNode, "the tube's foundation");
}

// A track that was not saved is not shown, not even in a screenshot: the
// failure is the last thing said, with a display at hand.
TEST_F(WindowPixels, NoScreenshotIsTakenAfterAFailedSave) {
    std::string dir = scratchDir("pixels-failed-save");
    std::string input = dir + "/ride.zvtrack";
    ZvTrack track;
    buildStraightTrack(&track);
    saveTrack(input, &track);
    const std::string output = dir + "/missing/ride.zvtrack";
    ProgramRun run = runProgram({"--screenshot", dir + "/frame.png", "-o", output, input}, server->display());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(linesStartingWith(run.err, "strutwright: ").back(),
              "strutwright: cannot write " + output + ": cannot create a file beside it: No such file or directory")
        << run.err;
    EXPECT_FALSE(fileExists(dir + "/frame.png"));
}

TEST_F(WindowPixels, EmptyDocumentDrawsOnlyTheGrid) {
    ZvTrack track;
    initNewZvTrack(&track);
    deleteBezier(0, &track);
    Picture frame = shoot("empty", &track);
    ASSERT_TRUE(frame.valid());
    int grid = frame.count(kGrid.r, kGrid.g, kGrid.b);
    int black = frame.count(kBlack.r, kBlack.g, kBlack.b);
    EXPECT_GT(grid, 1000);
    EXPECT_EQ(grid + black, frame.width * frame.height);
    expectColourAt(frame, CCamera(), {0, 0, -100}, kGrid, "far grid");
}

// Three beziers on a triangle in the plane z = 0, straight segments.
void buildTriangleTrack(ZvTrack* track, bool closed) {
    initNewZvTrack(track);
    track->bezierArray.clear();
    const Point3D corners[] = {{-8, 10, 0}, {8, 10, 0}, {0, 16, 0}};
    auto towards = [](Point3D from, Point3D to) {
        return Point3D{from.x + (to.x - from.x) / 3, from.y + (to.y - from.y) / 3, 0};
    };
    for (int i = 0; i < 3; ++i) {
        Point3D p = corners[i], in = towards(p, corners[(i + 2) % 3]);
        Point3D out = towards(p, corners[(i + 1) % 3]);
        addBezier(p.x, p.y, p.z, in.x, in.y, in.z, out.x, out.y, out.z, 0, 0, 0, 0, track);
    }
    Color plain = createColorARGB(255, 0, 0, 0);
    int segments = closed ? 3 : 2;
    for (int n = 1; n <= segments; ++n) addSegment(kSegmentPlain, n, 0, plain, plain, plain, 0, 0, track);
    track->closedTrack = closed ? 1 : 0;
}

TEST_F(WindowPixels, OnlyAClosedTrackDrawsItsClosingSegment) {
    CCamera camera;
    const Point3D closingMiddle{-4, 13, 0}, secondMiddle{4, 13, 0};
    ZvTrack closedTrack, openTrack;
    buildTriangleTrack(&closedTrack, true);
    buildTriangleTrack(&openTrack, false);
    Picture closed = shoot("closed", &closedTrack);
    Picture open = shoot("open", &openTrack);
    expectColourAt(closed, camera, closingMiddle, kCentreLine, "closing segment");
    expectColourAt(closed, camera, secondMiddle, kCentreLine, "segment 1 of the closed track");
    expectColourAt(open, camera, secondMiddle, kCentreLine, "segment 1 of the open track");
    Pixel at = project(camera, closingMiddle);
    EXPECT_FALSE(open.hasColourNear(at.column, at.row, kNear, kCentreLine.r, kCentreLine.g,
                                    kCentreLine.b));
}

TEST_F(WindowPixels, KeysMoveTheViewAsTheCameraSays) {
    const char* const keySets[] = {"wwwwwwww", "aaa", "xxx", "ddqqrr", "wwaax"};
    ZvTrack track;
    buildFurnishedTrack(&track);
    for (const char* keys : keySets) {
        SCOPED_TRACE(keys);
        CCamera camera;
        for (const char* k = keys; *k; ++k) applyCameraKey(static_cast<unsigned char>(*k), &camera);
        Picture frame = shoot(std::string("keys-") + keys, &track, keys);
        ASSERT_TRUE(frame.valid());
        expectExactly(frame, camera, {0, 10, 0}, kBezierPoint, "bezier 1");
        expectColourAt(frame, camera, {-2, 10, 0}, kCentreLine, "centre line");
        // Unless the view only moved along its axis, the untouched view's spot
        // for bezier 1 shows something else now.
        Pixel home = project(CCamera(), {0, 10, 0}), moved = project(camera, {0, 10, 0});
        if (std::abs(home.column - moved.column) + std::abs(home.row - moved.row) > 10) {
            EXPECT_FALSE(frame.hasColourNear(home.column, home.row, 1, kBezierPoint.r,
                                             kBezierPoint.g, kBezierPoint.b));
        }
    }
}

TEST_F(WindowPixels, KeyDirectionsMatchTheirNames) {
    ZvTrack track;
    buildFurnishedTrack(&track);
    Pixel home = project(CCamera(), {0, 10, 0});
    auto bezierPixel = [&](const char* keys) {
        CCamera camera;
        for (const char* k = keys; *k; ++k) applyCameraKey(static_cast<unsigned char>(*k), &camera);
        return project(camera, {0, 10, 0});
    };
    // Turning left moves the scene right; looking up moves it down; walking
    // forward brings the track closer, spreading its points apart.
    EXPECT_GT(bezierPixel("aaa").column, home.column + 100);
    EXPECT_GT(bezierPixel("xxx").row, home.row + 100);
    Pixel farLeft = project(CCamera(), {-8, 10, 0});
    CCamera walked;
    for (int i = 0; i < 8; ++i) applyCameraKey('w', &walked);
    EXPECT_LT(project(walked, {-8, 10, 0}).column, farLeft.column - 10);
    // The picture agrees: bezier 0 is drawn where the walked camera says.
    Picture frame = shoot("walked", &track, "wwwwwwww");
    expectExactly(frame, walked, {-8, 10, 0}, kBezierPoint, "bezier 0 after walking");
}

// Nodes at NaN, at infinity or far beyond any view are drawn each on its own,
// so they spoil nothing drawn after them: the picture is that of the track
// without them.
TEST_F(WindowPixels, NodesThatAreNowhereSpoilNothingDrawnAfterThem) {
    ZvTrack plain, spoilt;
    buildFurnishedTrack(&plain);
    buildFurnishedTrack(&spoilt);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    addFreeNode(nan, 5, 0, &spoilt);
    addFundNode(0, 0, 0, 0, 0, 0, std::numeric_limits<float>::infinity(), 0, 0, &spoilt);
    addFreeNode(3e30f, 4e30f, -2e30f, &spoilt);
    addFreeNode(-2e9f, 7, 5e9f, &spoilt);
    const Picture expected = shoot("nowhere-plain", &plain);
    const Picture frame = shoot("nowhere", &spoilt);
    ASSERT_TRUE(frame.valid());
    EXPECT_TRUE(frame.rgb == expected.rgb);
    expectExactly(frame, CCamera(), {8, 10, 0}, kBezierPoint, "bezier 2, drawn last");
}

// One far-out segment whose single marker 300 tubes name: placing the tube
// ends walks the segment once, so the first frame comes at once.
TEST_F(WindowPixels, FirstFrameOfAMarkerNamedByManyTubesComesAtOnce) {
    ZvTrack track;
    buildFarOutTrack(&track, {1, 1, 300});
    const auto start = std::chrono::steady_clock::now();
    const Picture frame = shoot("many-tubes", &track);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(frame.valid());
    EXPECT_LT(seconds, 5.0);
}

// With --frame, and for a track nothing of which the start camera sees, the
// first frame looks at the whole scene from the framed camera.
TEST_F(WindowPixels, FramedFirstFrameShowsTheWholeTrack) {
    ZvTrack furnished, far;
    buildFurnishedTrack(&furnished);
    buildStraightTrack(&far);
    moveBeziers(&far, {560, 0, -570});
    struct Shot {
        const char* name;
        ZvTrack* track;
        std::vector<std::string> options;
    };
    for (const Shot& shot : {Shot{"framed", &furnished, {"--frame"}}, Shot{"far", &far, {}}}) {
        SCOPED_TRACE(shot.name);
        ZvTrack generated;
        const Picture frame = shoot(shot.name, shot.track, "", &generated, shot.options);
        ASSERT_TRUE(frame.valid());
        const TrackScene scene = buildTrackScene(&generated);
        const CCamera camera = framedCamera(sceneBox(scene), kFrameSize, kFrameSize);
        for (const Point3D& p : scene.bezierPoints) {
            expectExactly(frame, camera, p, kBezierPoint, "bezier");
        }
        for (const auto& line : scene.centreLines) {
            expectColourAt(frame, camera, line[64], kCentreLine, "centre line");
        }
        for (const Point3D& p : scene.fundNodes) {
            expectColourAt(frame, camera, p, kFundNode, "foundation");
        }
    }
}

// The far plane stays where it was while the scene fits within it, and grows
// past a track that reaches farther: its far end is drawn.
TEST_F(WindowPixels, FarPlaneGrowsToHoldATrackThatReachesPastIt) {
    ZvTrack track;
    initNewZvTrack(&track);
    track.bezierArray.clear();
    const Point3D points[] = {{-20, 2, -100}, {0, 20, -800}, {20, 60, -1500}};
    for (const Point3D& p : points) {
        addBezier(p.x, p.y, p.z, p.x, p.y, p.z, p.x, p.y, p.z, 0, 0, 0, 0, &track);
    }
    Color plain = createColorARGB(255, 0, 0, 0);
    for (int n = 1; n < 3; ++n) addSegment(kSegmentPlain, n, 0, plain, plain, plain, 0, 0, &track);
    ZvTrack generated;
    const Picture frame = shoot("far-plane", &track, "", &generated);
    ASSERT_TRUE(frame.valid());
    const TrackScene scene = buildTrackScene(&generated);
    expectColourAt(frame, CCamera(), scene.centreLines[0][128], kCentreLine, "within 700");
    expectColourAt(frame, CCamera(), scene.centreLines[1][128], kCentreLine, "past 700");
    expectColourAt(frame, CCamera(), points[2], kBezierPoint, "the far end, past 1500");
}

// The solid view: a sky above the horizon, a ground below it, lit tubes in
// many shades of red.
TEST_F(WindowPixels, SolidViewShowsLitShapesOnTheGroundUnderASky) {
    ZvTrack track;
    buildFurnishedTrack(&track);
    const Picture frame = shoot("solid", &track, "", nullptr, {"--view", "solid"});
    ASSERT_TRUE(frame.valid());
    EXPECT_GT(frame.distinctColours(), 100u);
    const CCamera camera;
    auto colourAt = [&](Point3D p) {
        const Pixel at = project(camera, p);
        int rgb[3];
        frame.at(at.column, at.row, rgb);
        return Rgb{rgb[0], rgb[1], rgb[2]};
    };
    const Rgb sky = colourAt({0, 40, -200});
    EXPECT_TRUE(sky.b > 200 && sky.r < sky.b && sky.g < sky.b)
        << sky.r << "," << sky.g << "," << sky.b;
    const Rgb ground = colourAt({-5, 0, 5});
    EXPECT_TRUE(ground.g > ground.r && ground.g > ground.b)
        << ground.r << "," << ground.g << "," << ground.b;
    const Rgb tube = colourAt({-12, 3, 0});
    EXPECT_TRUE(tube.r > 100 && tube.g < tube.r / 2 && tube.b < tube.r / 2)
        << tube.r << "," << tube.g << "," << tube.b;
}

// Pixels of the warning colour's hue, in any shade: red ahead of green by a
// quarter or so, little blue. The ground is greener, the tubes redder.
int amberPixels(const Picture& picture) {
    int found = 0;
    for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        const int r = picture.rgb[i], g = picture.rgb[i + 1], b = picture.rgb[i + 2];
        found += r > 100 && g > r / 2 && g < r && b < r / 3;
    }
    return found;
}

// A column through the track below it is amber in the solid view; the flat
// view and a run with the check turned off show it as any other tube.
TEST_F(WindowPixels, SupportsTooCloseToTheTrackAreAmberInTheSolidViewOnly) {
    ZvTrack track = genfix::crossingTrack(0);
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    const std::vector<std::string> solid{"--view", "solid", "--frame"};
    EXPECT_GT(amberPixels(shoot("warned-solid", &track, "", nullptr, solid)), 20);
    std::vector<std::string> unchecked = solid;
    unchecked.insert(unchecked.end(), {"--clearance", "0"});
    EXPECT_EQ(amberPixels(shoot("warned-unchecked", &track, "", nullptr, unchecked)), 0);
    EXPECT_EQ(amberPixels(shoot("warned-flat", &track, "", nullptr, {"--frame"})), 0);
}

}  // namespace
