// The view's matrices, shared by the viewer window and anything that must
// draw exactly what it draws.
//
//   setViewProjection  projection (40 degree field of view, aspect width /
//                      height, near and far planes by default 0.5 and 700)
//                      and the viewport; the model-view matrix is selected
//                      afterwards.
//   beginViewFrame     clears `buffers` (by default the colour buffer only)
//                      and loads the camera's view with the scene shift
//                      (0, -10, -40) applied after it.
#pragma once

#include <GL/gl.h>

#include "camera.h"
#include "viewGeometry.h"

// Point size the frame draws with.
constexpr GLfloat kViewPointSize = 4.0f;

void setViewProjection(int width, int height, double farPlane = kDescribedFarPlane,
                       double nearPlane = kNearPlane);
void beginViewFrame(CCamera& camera, GLbitfield buffers = GL_COLOR_BUFFER_BIT);
