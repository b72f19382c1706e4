#include "viewer.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "camera.h"
#include "displayProbe.h"
#include "drawTrack.h"
#include "helpOverlay.h"
#include "keyBindings.h"
#include "pngWriter.h"
#include "quitMessage.h"
#include "viewControls.h"
#include "viewFrame.h"
#include "viewTransform.h"
#include "window.h"

namespace {

constexpr const char* kWindowTitle = "Zorvan Strutwright - 3D View";
constexpr int kWindowSize = 600;
constexpr const char* kHelpNote =
    "strutwright: press F1 in the 3D view for its keys and mouse actions\n";
constexpr int kNoButton = -1;

CCamera Camera;
drawTrack renderTrack;
ViewFrame viewFrame(true);

// What the window keeps between callbacks besides the camera and renderer.
struct WindowState {
    int width = kWindowSize;
    int height = kWindowSize;
    bool helpShown = false;
    double lastFrameMs = 0;
    int dragButton = kNoButton;  // the button held since the press, if any
    bool dragFast = false;       // Shift was held at the press
    int dragX = 0, dragY = 0;    // the pointer at the last motion
};
WindowState state;

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

// The frame (and the help over it) in the back buffer; its time, to the end
// of GL's work, is what the help shows.
void drawFrame() {
    const auto start = std::chrono::steady_clock::now();
    viewFrame.draw(Camera, renderTrack, state.width, state.height);
    glFinish();
    state.lastFrameMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (state.helpShown) {
        drawHelpOverlay(helpLines(renderTrack.solid(), state.lastFrameMs), state.width,
                        state.height);
    }
}

std::string screenshotPath;

// Shows the first frame, reads it back and writes it, then ends the viewer.
void screenshotDisplayCB() {
    drawFrame();
    glFinish();
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
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
    screenshotPath = request.screenshotPath;
    // Double-buffered, nothing more: the solid view brings its own depth
    // buffer and samples (viewFrame.h).
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(kWindowTitle);
    state.width = glutGet(GLUT_WINDOW_WIDTH);
    state.height = glutGet(GLUT_WINDOW_HEIGHT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glutDisplayFunc(screenshotPath.empty() ? displayCB : screenshotDisplayCB);
    glutKeyboardFunc(keyCB);
    glutReshapeFunc(reshape);
    glutSpecialFunc(specialCB);
    glutMouseFunc(mouseCB);
    glutMotionFunc(motionCB);
    glutMouseWheelFunc(wheelCB);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
}

bool shiftHeld() { return (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0; }

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
    renderTrack.setSolid(request->solid);
    renderTrack.warnTubes(request->warnedTubes);
    openWindow(*request);
    releaseDisplayProbe();
    Camera = startCamera(renderTrack.scene(), renderTrack.box(), request->frame, state.width,
                         state.height);
    for (char key : request->keys) applyCameraKey(static_cast<unsigned char>(key), &Camera);
    if (request->screenshotPath.empty() && !request->quiet) std::fputs(kHelpNote, stderr);
    glutMainLoop();
    return quitExitCode();
}

void displayCB() {
    if (quitRequested()) return;
    drawFrame();
    glutSwapBuffers();
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

void specialCB(int key, int /*x*/, int /*y*/) {
    if (quitRequested()) return;
    switch (key) {
    case GLUT_KEY_HOME: Camera = framedCamera(renderTrack.box(), state.width, state.height); break;
    case GLUT_KEY_F1: state.helpShown = !state.helpShown; break;
    case GLUT_KEY_F2: renderTrack.setSolid(!renderTrack.solid()); break;
    default:
        if (!applySpecialKey(key, shiftHeld(), renderTrack.box(), &Camera)) return;
    }
    glutPostRedisplay();
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the toolkit's signature.
void mouseCB(int button, int buttonState, int x, int y) {
    if (buttonState == GLUT_DOWN) {
        state.dragButton = button;
        state.dragFast = shiftHeld();
        state.dragX = x;
        state.dragY = y;
    } else if (button == state.dragButton) {
        state.dragButton = kNoButton;
    }
}

void motionCB(int x, int y) {
    if (quitRequested() || state.dragButton == kNoButton) return;
    const DragButton drag =
        state.dragButton == GLUT_LEFT_BUTTON ? DragButton::kTurn : DragButton::kPan;
    applyDrag(drag, x - state.dragX, y - state.dragY, state.dragFast, renderTrack.box(),
              state.height, &Camera);
    state.dragX = x;
    state.dragY = y;
    glutPostRedisplay();
}

void wheelCB(int /*wheel*/, int direction, int /*x*/, int /*y*/) {
    if (quitRequested()) return;
    applyWheel(direction, shiftHeld(), renderTrack.box(), &Camera);
    glutPostRedisplay();
}

void reshape(int width, int height) {
    if (width == 0 || height == 0) return;
    state.width = width;
    state.height = height;
    setViewProjection(width, height);
}
