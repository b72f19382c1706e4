// The view's matrices, shared by the viewer window and anything that must
// draw exactly what it draws.
//
//   setViewProjection  projection (40 degree field of view, near 0.5, far
//                      700, aspect width / height) and the viewport; the
//                      model-view matrix is selected afterwards.
//   beginViewFrame     clears the colour buffer and loads the camera's view
//                      with the scene shift (0, -10, -40) applied after it.
#pragma once

#include <GL/gl.h>

#include "camera.h"

// Point size the frame draws with.
constexpr GLfloat kViewPointSize = 4.0f;

void setViewProjection(int width, int height);
void beginViewFrame(CCamera& camera);
