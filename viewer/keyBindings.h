// The keyboard bindings of the 3D view, apart from the window toolkit.
//
//   applyCameraKey  performs the camera action bound to `key` and returns true;
//                   returns false, leaving the camera alone, for every key that
//                   is not bound (upper case, digits, Escape, ...).
#pragma once

#include "camera.h"

constexpr unsigned char kEscapeKey = 27;

constexpr float kTurnStepDegrees = 5.0f;
constexpr float kWalkStep = 0.5f;
constexpr float kClimbStep = 0.3f;

bool applyCameraKey(unsigned char key, CCamera* camera);
