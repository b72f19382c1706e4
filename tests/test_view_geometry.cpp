// Where the view starts and how its controls move it, checked without a
// window: the framed camera holds the whole scene, the far plane grows only
// when it must, and the mouse and special keys step as they promise.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>

#include "app_fixtures.h"
#include "keyBindings.h"
#include "viewControls.h"
#include "viewGeometry.h"

namespace {

const double kToRadians = std::acos(-1.0) / 180.0;

struct Ndc {
    double x, y, depth;  // x and y from -1 to 1 across the window
};

// The window's projection of a world point, worked out by hand: camera
// rotations and translation, the scene shift, 40 degrees vertically.
Ndc ndcOf(const CCamera& camera, const Point3D& p, double aspect) {
    const Point3D eye = eyePosition(camera);
    const double x = p.x - eye.x, y = p.y - eye.y, z = p.z - eye.z;
    const double yaw = -camera.AngleY * kToRadians, pitch = -camera.AngleX * kToRadians;
    const double x1 = std::cos(yaw) * x + std::sin(yaw) * z;
    const double z1 = -std::sin(yaw) * x + std::cos(yaw) * z;
    const double y2 = std::cos(pitch) * y - std::sin(pitch) * z1;
    const double z2 = std::sin(pitch) * y + std::cos(pitch) * z1;
    const double focal = 1.0 / std::tan(20.0 * kToRadians);
    return Ndc{focal / aspect * x1 / -z2, focal * y2 / -z2, -z2};
}

SceneBox boxOf(Point3D low, Point3D high) {
    SceneBox box;
    box.add(low);
    box.add(high);
    return box;
}

// Every corner inside the window and in front of the eye; the box reaches
// close to the window's edge in one direction at least.
void expectFramed(const SceneBox& box, int width, int height) {
    const CCamera camera = framedCamera(box, width, height);
    EXPECT_FLOAT_EQ(camera.AngleX, kFramingPitchDegrees);
    EXPECT_EQ(camera.AngleY, 0.0f);
    double widest = 0;
    for (int k = 0; k < 8; ++k) {
        const Point3D corner{k & 1 ? box.high.x : box.low.x, k & 2 ? box.high.y : box.low.y,
                             k & 4 ? box.high.z : box.low.z};
        const Ndc at = ndcOf(camera, corner, static_cast<double>(width) / height);
        EXPECT_GT(at.depth, kNearPlane);
        EXPECT_LE(std::fabs(at.x), 1.0);
        EXPECT_LE(std::fabs(at.y), 1.0);
        widest = std::max({widest, std::fabs(at.x), std::fabs(at.y)});
    }
    EXPECT_GT(widest, 0.85) << "the box should fill the window";
    // The eye looks at the box's centre.
    const Ndc centre = ndcOf(camera, box.centre(), static_cast<double>(width) / height);
    EXPECT_NEAR(centre.x, 0, 1e-4);
    EXPECT_NEAR(centre.y, 0, 1e-4);
}

TEST(ViewGeometry, FramedCameraHoldsTheWholeBox) {
    expectFramed(boxOf({552, 0, -570}, {568, 10, -570}), 600, 600);      // a thin line
    expectFramed(boxOf({-1500, 5, -1500}, {1500, 40, 1500}), 600, 600);  // a wide circuit
    expectFramed(boxOf({10, 0, 10}, {12, 120, 14}), 400, 300);           // a tall tower
    expectFramed(boxOf({-90000, 0, -3}, {90000, 2, 3}), 800, 200);       // far and wide
    SceneBox point;
    point.add({7, 8, 9});
    const CCamera atPoint = framedCamera(point, 600, 600);
    EXPECT_NEAR(ndcOf(atPoint, {7, 8, 9}, 1).x, 0, 1e-6);
    EXPECT_GT(ndcOf(atPoint, {7, 8, 9}, 1).depth, 1.0);
}

TEST(ViewGeometry, StartCameraStaysUnlessNothingIsInView) {
    ZvTrack near;
    apptest::buildStraightTrack(&near);
    const TrackScene nearScene = buildTrackScene(&near);
    EXPECT_TRUE(trackInStartView(nearScene, 600, 600));
    const CCamera kept = startCamera(nearScene, sceneBox(nearScene), false, 600, 600);
    EXPECT_EQ(kept.Position.z, 0.0f);
    EXPECT_EQ(kept.AngleX, 0.0f);
    EXPECT_EQ(startCamera(nearScene, sceneBox(nearScene), true, 600, 600).AngleX,
              kFramingPitchDegrees);

    // Beyond the described far plane straight ahead, and beside the view.
    for (Point3D offset : {Point3D{0, 0, -700}, Point3D{560, 0, -570}, Point3D{0, -60, 0}}) {
        ZvTrack far;
        apptest::buildStraightTrack(&far);
        apptest::moveBeziers(&far, offset);
        const TrackScene farScene = buildTrackScene(&far);
        EXPECT_FALSE(trackInStartView(farScene, 600, 600)) << offset.x << "," << offset.z;
        EXPECT_EQ(startCamera(farScene, sceneBox(farScene), false, 600, 600).AngleX,
                  kFramingPitchDegrees);
    }
    // A window twice as wide sees a track 45 units to the side.
    ZvTrack aside;
    apptest::buildStraightTrack(&aside);
    apptest::moveBeziers(&aside, {45, 0, -60});
    EXPECT_FALSE(trackInStartView(buildTrackScene(&aside), 600, 600));
    EXPECT_TRUE(trackInStartView(buildTrackScene(&aside), 1200, 600));

    // An empty document, and stray points far out, keep the start.
    ZvTrack empty;
    const TrackScene nothing = buildTrackScene(&empty);
    EXPECT_EQ(startCamera(nothing, sceneBox(nothing), true, 600, 600).AngleX, 0.0f);
    addFreeNode(3e6f, 0, 0, &empty);
    EXPECT_TRUE(sceneBox(buildTrackScene(&empty)).empty);
}

TEST(ViewGeometry, FarPlaneGrowsOnlyForAScenePastIt) {
    const CCamera start;
    EXPECT_EQ(farPlaneFor(boxOf({-220, 0, -220}, {220, 40, 220}), start), kDescribedFarPlane);
    EXPECT_EQ(farPlaneFor(SceneBox(), start), kDescribedFarPlane);
    const SceneBox long_ = boxOf({0, 0, -1500}, {10, 20, 0});
    const double grown = farPlaneFor(long_, start);
    EXPECT_GT(grown, 1540.0);
    EXPECT_LT(grown, 1600.0);
    EXPECT_EQ(nearPlaneFor(kDescribedFarPlane), kNearPlane);
    EXPECT_GT(nearPlaneFor(100000.0), kNearPlane);
}

TEST(ViewControls, SpecialKeysTurnAndTravelFasterWithShift) {
    const SceneBox box = boxOf({-10, 0, -1040}, {10, 10, -960});  // 1,000 ahead of the eye
    CCamera turned;
    EXPECT_TRUE(applySpecialKey(GLUT_KEY_LEFT, false, box, &turned));
    EXPECT_EQ(turned.AngleY, kTurnStepDegrees);
    EXPECT_TRUE(applySpecialKey(GLUT_KEY_RIGHT, true, box, &turned));
    EXPECT_EQ(turned.AngleY, -9 * kTurnStepDegrees);

    CCamera forward;
    EXPECT_NEAR(travelStep(forward, box), 100, 0.01);
    EXPECT_TRUE(applySpecialKey(GLUT_KEY_UP, false, box, &forward));
    EXPECT_NEAR(forward.Position.z, -100, 0.01);
    EXPECT_TRUE(applySpecialKey(GLUT_KEY_PAGE_UP, true, box, &forward));
    EXPECT_NEAR(forward.Position.y, 900, 0.1);  // ten steps of 90, the way now 900
    // Within the box every step is one press of w.
    CCamera inside;
    inside.Position = F3dVector(0, -5, -1060);
    EXPECT_EQ(travelStep(inside, box), kWalkStep);
    EXPECT_FALSE(applySpecialKey(GLUT_KEY_F5, false, box, &inside));
    EXPECT_EQ(inside.Position.y, -5.0f);
}

TEST(ViewControls, DragsTurnAndPanInProportion) {
    const SceneBox box = boxOf({-10, 0, -240}, {10, 10, -160});  // 200 ahead of the eye
    CCamera byKey, byDrag;
    applyCameraKey('a', &byKey);
    applyCameraKey('y', &byKey);
    applyDrag(DragButton::kTurn, 20, -20, false, box, 600, &byDrag);
    EXPECT_EQ(byDrag.AngleY, byKey.AngleY);
    EXPECT_EQ(byDrag.AngleX, byKey.AngleX);
    applyDrag(DragButton::kTurn, 2, 0, true, box, 600, &byDrag);
    EXPECT_EQ(byDrag.AngleY, byKey.AngleY + 5);

    // Panning moves what lies at the scene's distance along with the pointer.
    CCamera panned;
    applyDrag(DragButton::kPan, 30, 60, false, box, 600, &panned);
    const double pixelsPerUnit = 300 / std::tan(20 * kToRadians) / 200;  // 200 to the box
    EXPECT_NEAR(panned.Position.x, -30 / pixelsPerUnit, 0.01);
    EXPECT_NEAR(panned.Position.y, 60 / pixelsPerUnit, 0.01);

    CCamera wheeled;
    applyWheel(1, false, box, &wheeled);
    EXPECT_NEAR(wheeled.Position.z, -20, 0.01);
    applyWheel(-1, true, box, &wheeled);
    EXPECT_NEAR(wheeled.Position.z, 160, 0.1);  // ten steps of 18
}

}  // namespace
