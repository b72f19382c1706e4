#include "glFrame.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdlib>

#include "displayProbe.h"
#include "viewTransform.h"

namespace glframe {

namespace {

// Event rounds that let the window toolkit map the new window.
constexpr int kMapRounds = 10;

void ignoreDisplayRequests() {}

}  // namespace

bool openFrameWindow(const std::string& displayName, std::string* why) {
    if (!probeDisplay(displayName, why)) return false;
    setenv("DISPLAY", displayName.c_str(), 1);
    static char programName[] = "strutwright-frames";
    static char* argv[] = {programName, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
    glutInitWindowSize(kFrameSize, kFrameSize);
    glutCreateWindow("Zorvan Strutwright - 3D View");
    releaseDisplayProbe();
    glutDisplayFunc(ignoreDisplayRequests);
    for (int round = 0; round < kMapRounds; ++round) glutMainLoopEvent();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    setViewProjection(kFrameSize, kFrameSize);
    return true;
}

void drawFrame(CCamera& camera, const std::function<void()>& drawTrack) {
    beginViewFrame(camera);
    glPointSize(kViewPointSize);
    drawTrack();
    glFinish();
}

std::vector<unsigned char> readFrame() {
    std::vector<unsigned char> bottomUp(static_cast<size_t>(kFrameSize) * kFrameSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_FRONT);
    glReadPixels(0, 0, kFrameSize, kFrameSize, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    const size_t rowBytes = static_cast<size_t>(kFrameSize) * 3;
    std::vector<unsigned char> topDown(bottomUp.size());
    for (size_t row = 0; row < static_cast<size_t>(kFrameSize); ++row) {
        std::copy_n(&bottomUp[(kFrameSize - 1 - row) * rowBytes], rowBytes, &topDown[row * rowBytes]);
    }
    return topDown;
}

WindowPixel projectPoint(const Point3D& p) {
    GLdouble modelView[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble x = 0, y = 0, z = 0;
    gluProject(p.x, p.y, p.z, modelView, projection, viewport, &x, &y, &z);
    return WindowPixel{static_cast<int>(std::floor(x)),
                       kFrameSize - 1 - static_cast<int>(std::floor(y))};
}

}  // namespace glframe
