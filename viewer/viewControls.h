// The view's controls beyond the letter keys: special keys and the mouse.
// Steps that cover ground grow with the distance to the scene, so a far
// track can be reached; Shift (`fast`) makes every step ten times larger.
//
//   applySpecialKey  arrows turn left and right (as a and d) and move forward
//                    and back (travelStep), Page Up and Page Down move up and
//                    down (travelStep); true when `key` (GLUT_KEY_*) is one of
//                    them, false with the camera untouched for any other.
//   applyDrag        a pointer moved by (dx, dy) pixels with a button held in
//                    a window `height` pixels high: the left button turns the
//                    view (kDragDegreesPerPixel, as a d x y: the scene follows
//                    the pointer), the others pan it (level as q and e,
//                    vertically as r and f) so that what lies at the scene's
//                    distance follows the pointer.
//   applyWheel       forward for direction > 0, back otherwise, by travelStep.
//   travelStep       a tenth of the distance from the eye to the scene box,
//                    at least kWalkStep.
#pragma once

#include "camera.h"
#include "viewGeometry.h"

enum class DragButton { kTurn, kPan };

// The left drag's turn: 20 pixels turn as far as one press of a or d.
constexpr float kDragDegreesPerPixel = 0.25f;
constexpr float kFastFactor = 10.0f;

bool applySpecialKey(int key, bool fast, const SceneBox& box, CCamera* camera);
void applyDrag(DragButton button, int dx, int dy, bool fast, const SceneBox& box, int height,
               CCamera* camera);
void applyWheel(int direction, bool fast, const SceneBox& box, CCamera* camera);
float travelStep(const CCamera& camera, const SceneBox& box);
