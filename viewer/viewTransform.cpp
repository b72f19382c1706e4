#include "viewTransform.h"

#include <GL/glu.h>

void setViewProjection(int width, int height, double farPlane, double nearPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewDegrees, static_cast<double>(width) / height, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
}

void beginViewFrame(CCamera& camera, GLbitfield buffers) {
    glClear(buffers);
    glLoadIdentity();
    camera.Render();
    glTranslatef(kSceneShift.x, kSceneShift.y, kSceneShift.z);
}
