#include "viewControls.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>

#include "keyBindings.h"

namespace {

constexpr float kTravelFraction = 0.1f;
// Panning nearer than this moves the view by one press of q, e, r or f for
// about 20 pixels in a 600-pixel window.
constexpr float kNearestPanDistance = 20.0f;

float speed(bool fast) { return fast ? kFastFactor : 1.0f; }

}  // namespace

float travelStep(const CCamera& camera, const SceneBox& box) {
    const float distance = distanceToBox(box, eyePosition(camera));
    if (!std::isfinite(distance)) return kWalkStep;
    return std::max(kWalkStep, kTravelFraction * distance);
}

bool applySpecialKey(int key, bool fast, const SceneBox& box, CCamera* camera) {
    const float turn = kTurnStepDegrees * speed(fast);
    const float step = travelStep(*camera, box) * speed(fast);
    switch (key) {
    case GLUT_KEY_LEFT: camera->RotateY(turn); return true;
    case GLUT_KEY_RIGHT: camera->RotateY(-turn); return true;
    case GLUT_KEY_UP: camera->MoveForwards(-step); return true;
    case GLUT_KEY_DOWN: camera->MoveForwards(step); return true;
    case GLUT_KEY_PAGE_UP: camera->Move(F3dVector(0.0f, step, 0.0f)); return true;
    case GLUT_KEY_PAGE_DOWN: camera->Move(F3dVector(0.0f, -step, 0.0f)); return true;
    default: return false;
    }
}

void applyDrag(DragButton button, int dx, int dy, bool fast, const SceneBox& box, int height,
               CCamera* camera) {
    if (button == DragButton::kTurn) {
        const float degrees = kDragDegreesPerPixel * speed(fast);
        camera->RotateY(static_cast<float>(dx) * degrees);
        camera->RotateX(static_cast<float>(dy) * degrees);
        return;
    }
    float distance = distanceToBox(box, eyePosition(*camera));
    if (!std::isfinite(distance)) distance = 0;
    const double pixelsPerUnit = height / 2.0 / halfFieldTangent();
    const float units =
        static_cast<float>(std::max(distance, kNearestPanDistance) / pixelsPerUnit) * speed(fast);
    camera->StrafeRight(-static_cast<float>(dx) * units);
    camera->Move(F3dVector(0.0f, static_cast<float>(dy) * units, 0.0f));
}

void applyWheel(int direction, bool fast, const SceneBox& box, CCamera* camera) {
    const float step = travelStep(*camera, box) * speed(fast);
    camera->MoveForwards(direction > 0 ? -step : step);
}
