#include "viewTransform.h"

#include <GL/glu.h>

namespace {

constexpr double kFieldOfViewDegrees = 40.0;
constexpr double kNearPlane = 0.5;
constexpr double kFarPlane = 700.0;

// The scene stands this far below and in front of the camera's start.
constexpr float kSceneShiftY = -10.0f;
constexpr float kSceneShiftZ = -40.0f;

}  // namespace

void setViewProjection(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewDegrees, static_cast<double>(width) / height, kNearPlane,
                   kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
}

void beginViewFrame(CCamera& camera) {
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    camera.Render();
    glTranslatef(0.0f, kSceneShiftY, kSceneShiftZ);
}
