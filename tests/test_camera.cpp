// The free camera and the key bindings that drive it.
#include <gtest/gtest.h>

#include <cmath>

#include "camera.h"
#include "keyBindings.h"

namespace {

constexpr float kEps = 1e-5f;
const double kPi = std::acos(-1.0);

void expectAt(const SF3dVector& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, kEps);
    EXPECT_NEAR(v.y, y, kEps);
    EXPECT_NEAR(v.z, z, kEps);
}

float sinDeg(double degrees) { return static_cast<float>(std::sin(degrees * kPi / 180)); }
float cosDeg(double degrees) { return static_cast<float>(std::cos(degrees * kPi / 180)); }

TEST(Camera, StartsAtOriginLookingDownMinusZ) {
    CCamera camera;
    expectAt(camera.Position, 0, 0, 0);
    expectAt(camera.ViewDir, 0, 0, -1);
    EXPECT_FALSE(camera.ViewDirStale);
    EXPECT_EQ(camera.AngleX, 0.0f);
    EXPECT_EQ(camera.AngleY, 0.0f);
    EXPECT_EQ(camera.AngleZ, 0.0f);
}

TEST(Camera, FreshMovesFollowTheStartDirection) {
    CCamera forward;
    forward.MoveForwards(-0.5f);
    expectAt(forward.Position, 0, 0, -0.5f);

    CCamera back;
    back.MoveForwards(0.5f);
    expectAt(back.Position, 0, 0, 0.5f);

    CCamera right;
    right.StrafeRight(0.5f);
    expectAt(right.Position, 0.5f, 0, 0);
}

TEST(Camera, TurningLeftBendsTheNextMove) {
    CCamera camera;
    camera.RotateY(5);
    expectAt(camera.Position, 0, 0, 0);  // turning never moves the eye
    EXPECT_TRUE(camera.ViewDirStale);
    camera.MoveForwards(-1);
    expectAt(camera.Position, -sinDeg(5), 0, -cosDeg(5));
    expectAt(camera.ViewDir, -sinDeg(5), 0, -cosDeg(5));
}

TEST(Camera, AnglesAccumulateWithoutWrapping) {
    CCamera camera;
    for (int i = 0; i < 73; ++i) camera.RotateY(5);
    EXPECT_FLOAT_EQ(camera.AngleY, 365.0f);
    camera.RotateX(-5);
    EXPECT_FLOAT_EQ(camera.AngleX, -5.0f);
}

TEST(Camera, PitchedUpForwardClimbsAndStrafeStalls) {
    CCamera camera;
    camera.RotateX(90);
    camera.MoveForwards(-2);
    expectAt(camera.Position, 0, 2, 0);
    camera.StrafeRight(100);
    EXPECT_NEAR(camera.Position.x, 0, 1e-4);  // 100 * cos 90 degrees
    EXPECT_NEAR(camera.Position.y, 2, kEps);
    EXPECT_NEAR(camera.Position.z, 0, 1e-4);
}

TEST(Camera, PitchBeyondNinetyTurnsTheViewOver) {
    CCamera camera;
    camera.RotateX(135);
    camera.MoveForwards(-1);
    // Over the top: now looking backwards (+z) and up.
    expectAt(camera.Position, 0, sinDeg(135), -cosDeg(135));
    EXPECT_GT(camera.Position.z, 0.0f);
    // Strafing "right" now goes to world -x.
    CCamera strafer;
    strafer.RotateX(135);
    strafer.StrafeRight(1);
    expectAt(strafer.Position, cosDeg(135), 0, 0);
}

TEST(Camera, StrafeStaysLevelAndFollowsYaw) {
    CCamera camera;
    camera.RotateY(90);  // facing -x; right is -z
    camera.RotateX(30);
    camera.StrafeRight(1);
    expectAt(camera.Position, 0, 0, -cosDeg(30));
}

TEST(Camera, MoveIgnoresTheAngles) {
    CCamera camera;
    camera.RotateX(40);
    camera.RotateY(-70);
    camera.Move(F3dVector(0, 0.3f, 0));
    expectAt(camera.Position, 0, 0.3f, 0);
    camera.Move(F3dVector(1, 0, -1));
    expectAt(camera.Position, 1, 0.3f, -1);
}

TEST(Camera, VectorHelpers) {
    SF3dVector u = F3dVector(1, 2, 3);
    SF3dVector v = F3dVector(-4, 0.5f, 10);
    expectAt(AddF3dVectors(&u, &v), -3, 2.5f, 13);
    AddF3dVectorToVector(&u, &v);
    expectAt(u, -3, 2.5f, 13);
    expectAt(v, -4, 0.5f, 10);
}

TEST(KeyBindings, EachBoundKeyMovesTheCameraAsDocumented) {
    struct Case {
        unsigned char key;
        float x, y, z, angleX, angleY;
    } cases[] = {
        {'w', 0, 0, -0.5f, 0, 0}, {'s', 0, 0, 0.5f, 0, 0},    {'q', 0.5f, 0, 0, 0, 0},
        {'e', -0.5f, 0, 0, 0, 0}, {'r', 0, 0.3f, 0, 0, 0},    {'f', 0, -0.3f, 0, 0, 0},
        {'a', 0, 0, 0, 0, 5},     {'d', 0, 0, 0, 0, -5},      {'x', 0, 0, 0, 5, 0},
        {'y', 0, 0, 0, -5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        CCamera camera;
        EXPECT_TRUE(applyCameraKey(c.key, &camera));
        expectAt(camera.Position, c.x, c.y, c.z);
        EXPECT_FLOAT_EQ(camera.AngleX, c.angleX);
        EXPECT_FLOAT_EQ(camera.AngleY, c.angleY);
    }
}

TEST(KeyBindings, UnboundKeysLeaveTheCameraAlone) {
    const unsigned char unboundKeys[] = {'W', 'A', 'X', '1', ' ', 'z', kEscapeKey, 0xE4};
    for (unsigned char key : unboundKeys) {
        CCamera camera;
        EXPECT_FALSE(applyCameraKey(key, &camera)) << int(key);
        expectAt(camera.Position, 0, 0, 0);
        EXPECT_EQ(camera.AngleX, 0.0f);
        EXPECT_EQ(camera.AngleY, 0.0f);
        EXPECT_FALSE(camera.ViewDirStale);
    }
}

TEST(KeyBindings, LookingUpThenWalkingClimbs) {
    CCamera camera;
    applyCameraKey('x', &camera);
    applyCameraKey('w', &camera);
    expectAt(camera.Position, 0, 0.5f * sinDeg(5), -0.5f * cosDeg(5));
}

}  // namespace
