#include "viewer.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string>
#include <vector>

#include "camera.h"
#include "displayProbe.h"
#include "drawTrack.h"
#include "keyBindings.h"
#include "pngWriter.h"
#include "quitMessage.h"
#include "window.h"
#include "viewTransform.h"

namespace {

constexpr const char* kWindowTitle = "Zorvan Strutwright - 3D View";
constexpr int kWindowSize = 600;

constexpr float kGridHalfWidth = 220.0f;
constexpr float kGridSpacing = 10.0f;
constexpr GLubyte kGridGreen = 127;

CCamera Camera;
drawTrack renderTrack;

void drawGroundGrid() {
    glColor3ub(0, kGridGreen, 0);
    glBegin(GL_LINES);
    for (float x = -kGridHalfWidth; x <= kGridHalfWidth; x += kGridSpacing) {
        glVertex3f(-kGridHalfWidth, 0.0f, x);
        glVertex3f(kGridHalfWidth, 0.0f, x);
        glVertex3f(x, 0.0f, -kGridHalfWidth);
        glVertex3f(x, 0.0f, kGridHalfWidth);
    }
    glEnd();
}

// The toolkit's argument vector: the program name and the toolkit options.
// Kept for the whole run, since the toolkit may hold on to its strings.
std::vector<std::string> toolkitArgStorage;
std::vector<char*> toolkitArgv;

void initToolkit(const std::vector<std::string>& toolkitArgs) {
    toolkitArgStorage.assign(1, "strutwright");
    toolkitArgStorage.insert(toolkitArgStorage.end(), toolkitArgs.begin(), toolkitArgs.end());
    for (std::string& arg : toolkitArgStorage) toolkitArgv.push_back(&arg[0]);
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = static_cast<int>(toolkitArgStorage.size());
    glutInit(&toolkitArgc, toolkitArgv.data());
}

std::string screenshotPath;

// Shows the first frame, reads it back and writes it, then ends the viewer.
void screenshotDisplayCB() {
    displayCB();
    glFinish();
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_FRONT);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::string error;
    if (writePngRgb(screenshotPath, width, height, pixels, &error)) {
        postQuitMessage(kViewDone);
    } else {
        std::fprintf(stderr, "strutwright: cannot write %s: %s\n", screenshotPath.c_str(),
                     error.c_str());
        postQuitMessage(kViewFailed);
    }
}

void openWindow(const ViewRequest& request) {
    // The default size goes in first, so that -geometry, which the toolkit
    // reads in its initialisation, overrides it.
    glutInitWindowSize(kWindowSize, kWindowSize);
    initToolkit(request.toolkitArgs);
    glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
    glutCreateWindow(kWindowTitle);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    screenshotPath = request.screenshotPath;
    glutDisplayFunc(screenshotPath.empty() ? displayCB : screenshotDisplayCB);
    glutKeyboardFunc(keyCB);
    glutReshapeFunc(reshape);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
}

}  // namespace

int strutwrightRunViewer(const ViewRequest* request, ZvTrack* track) {
    std::string why;
    if (!probeDisplay(request->displayName, &why)) {
        if (!request->screenshotPath.empty()) {
            std::fprintf(stderr, "strutwright: no display (%s): cannot take the screenshot %s\n",
                         why.c_str(), request->screenshotPath.c_str());
            return kViewFailed;
        }
        std::fprintf(stderr, "strutwright: no display (%s): viewer skipped\n", why.c_str());
        return kViewDone;
    }
    renderTrack.setTrack(track);
    openWindow(*request);
    releaseDisplayProbe();
    for (char key : request->keys) applyCameraKey(static_cast<unsigned char>(key), &Camera);
    glutMainLoop();
    return quitExitCode();
}

void displayCB() {
    if (quitRequested()) return;
    beginViewFrame(Camera);
    drawGroundGrid();
    glPointSize(kViewPointSize);
    renderTrack.Render();
    glFlush();
}

// A key press only changes the camera and asks for a frame: presses queued
// behind it are all applied before that one frame is drawn. Escape ends the
// viewer before anything more is drawn.
void keyCB(unsigned char key, int /*x*/, int /*y*/) {
    if (quitRequested()) return;
    if (key == kEscapeKey) {
        postQuitMessage(kViewDone);
    } else if (applyCameraKey(key, &Camera)) {
        glutPostRedisplay();
    }
}

void reshape(int width, int height) {
    if (width == 0 || height == 0) return;
    setViewProjection(width, height);
}
