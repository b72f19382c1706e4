#include "window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "displayProbe.h"
#include "helpOverlay.h"
#include "keyBindings.h"
#include "offscreenFrame.h"
#include "pngWriter.h"
#include "quitMessage.h"
#include "viewControls.h"
#include "viewTransform.h"

namespace {

constexpr const char* kWindowTitle = "Zorvan Strutwright - 3D View";
constexpr const char* kHelpNote =
    "strutwright: press F1 in the 3D view for its keys and mouse actions\n";

// The window the callbacks forward to: the toolkit gives them no user data.
ViewerWindow* liveWindow = nullptr;

// Makes a window the callbacks' for as long as the scope lasts.
class LiveWindowScope {
public:
    explicit LiveWindowScope(ViewerWindow* window) { liveWindow = window; }
    LiveWindowScope(const LiveWindowScope&) = delete;
    LiveWindowScope& operator=(const LiveWindowScope&) = delete;
    ~LiveWindowScope() { liveWindow = nullptr; }
};

bool shiftHeld() { return (glutGetModifiers() & GLUT_ACTIVE_SHIFT) != 0; }

// Says why there is no view; that fails the run only when a screenshot was
// asked for, and is otherwise a note, which a quiet run leaves out.
int skipView(const ViewRequest& request, const std::string& why) {
    if (!request.screenshotPath.empty()) {
        std::fprintf(stderr, "strutwright: no display (%s): cannot take the screenshot %s\n",
                     why.c_str(), request.screenshotPath.c_str());
        return kViewFailed;
    }
    if (!request.quiet) std::fprintf(stderr, "strutwright: no display (%s): viewer skipped\n", why.c_str());
    return kViewDone;
}

// The geometry as the toolkit reads it: always with the size, which the
// toolkit would otherwise leave to whatever its memory held.
std::string toolkitGeometry(const WindowGeometry& geometry) {
    std::string text = std::to_string(geometry.width) + "x" + std::to_string(geometry.height);
    if (geometry.placed) {
        text += (geometry.fromRight ? "-" : "+") + std::to_string(geometry.x);
        text += (geometry.fromBottom ? "-" : "+") + std::to_string(geometry.y);
    }
    return text;
}

}  // namespace

int strutwrightRunViewer(const ViewRequest* request, ZvTrack* track) {
    std::string why;
    if (!probeDisplay(request->displayName, &why)) return skipView(*request, why);
    ViewerWindow window(*request, track);
    window.open();
    releaseDisplayProbe();
    window.placeCamera(request->frame, request->keys);
    if (!request->screenshotPath.empty()) return window.screenshot(request->screenshotPath);
    if (!request->quiet) std::fputs(kHelpNote, stderr);
    return window.run();
}

ViewerWindow::ViewerWindow(const ViewRequest& request, ZvTrack* track)
    : windowWidth(request.geometry.width), windowHeight(request.geometry.height) {
    renderTrack.setTrack(track);
    renderTrack.setSolid(request.solid);
    renderTrack.warnTubes(request.warnedTubes);
    toolkitArgStorage.assign(1, "strutwright");
    toolkitArgStorage.insert(toolkitArgStorage.end(), request.toolkitArgs.begin(),
                             request.toolkitArgs.end());
    toolkitArgStorage.insert(toolkitArgStorage.end(),
                             {"-geometry", toolkitGeometry(request.geometry)});
}

void ViewerWindow::initToolkit() {
    std::transform(toolkitArgStorage.begin(), toolkitArgStorage.end(),
                   std::back_inserter(toolkitArgv), [](std::string& arg) { return arg.data(); });
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = static_cast<int>(toolkitArgStorage.size());
    glutInit(&toolkitArgc, toolkitArgv.data());
}

void ViewerWindow::open() {
    initToolkit();
    // Double-buffered, nothing more: the solid view brings its own depth
    // buffer and samples (viewFrame.h).
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(kWindowTitle);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glutDisplayFunc(displayCB);
    glutKeyboardFunc(keyCB);
    glutReshapeFunc(reshape);
    glutSpecialFunc(specialCB);
    glutMouseFunc(mouseCB);
    glutMotionFunc(motionCB);
    glutMouseWheelFunc(wheelCB);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
}

void ViewerWindow::placeCamera(bool frame, const std::string& keys) {
    Camera = startCamera(renderTrack.scene(), renderTrack.box(), frame, windowWidth, windowHeight);
    for (char key : keys) applyCameraKey(static_cast<unsigned char>(key), &Camera);
}

// The main loop calls the callbacks only while it runs; when it returns, the
// toolkit has closed the window, so nothing can reach this one afterwards.
int ViewerWindow::run() {
    const LiveWindowScope live(this);
    glutMainLoop();
    return quitExitCode();
}

// The frame (and the help over it) in the back buffer; its time, to the end
// of GL's work, is what the help shows.
void ViewerWindow::drawFrame() {
    const auto start = std::chrono::steady_clock::now();
    viewFrame.draw(Camera, renderTrack, windowWidth, windowHeight);
    glFinish();
    lastFrameMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (helpShown) {
        drawHelpOverlay(helpLines(renderTrack.solid(), lastFrameMs), windowWidth, windowHeight);
    }
}

void ViewerWindow::display() {
    if (quitRequested()) return;
    drawFrame();
    glutSwapBuffers();
}

// Draws the first frame offscreen, so the window need not be shown, writes
// it and closes the toolkit without running its loop.
int ViewerWindow::screenshot(const std::string& path) {
    std::vector<unsigned char> pixels;
    std::string problem;
    const bool drawn = drawOffscreen(
        windowWidth, windowHeight, [this] { drawFrame(); }, &pixels, &problem);
    glutExit();
    if (!drawn) {
        std::fprintf(stderr, "strutwright: cannot take the screenshot %s: %s\n", path.c_str(),
                     problem.c_str());
        return kViewFailed;
    }
    if (!writePngRgb(path, windowWidth, windowHeight, pixels, &problem)) {
        std::fprintf(stderr, "strutwright: cannot write %s: %s\n", path.c_str(), problem.c_str());
        return kViewFailed;
    }
    return kViewDone;
}

// A key press only changes the camera and asks for a frame: presses queued
// behind it are all applied before that one frame is drawn. Escape ends the
// viewer before anything more is drawn.
void ViewerWindow::pressKey(unsigned char key) {
    if (quitRequested()) return;
    if (key == kEscapeKey) {
        postQuitMessage(kViewDone);
    } else if (applyCameraKey(key, &Camera)) {
        glutPostRedisplay();
    }
}

void ViewerWindow::pressSpecial(int key) {
    if (quitRequested()) return;
    switch (key) {
    case GLUT_KEY_HOME:
        Camera = framedCamera(renderTrack.box(), windowWidth, windowHeight);
        break;
    case GLUT_KEY_F1: helpShown = !helpShown; break;
    case GLUT_KEY_F2: renderTrack.setSolid(!renderTrack.solid()); break;
    default:
        if (!applySpecialKey(key, shiftHeld(), renderTrack.box(), &Camera)) return;
    }
    glutPostRedisplay();
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the toolkit's arguments.
void ViewerWindow::mouseButton(int button, int buttonState, int x, int y) {
    if (buttonState == GLUT_DOWN) {
        drag = {button, shiftHeld(), x, y};
    } else if (button == drag.button) {
        drag.button = kNoButton;
    }
}

void ViewerWindow::movePointer(int x, int y) {
    if (quitRequested() || drag.button == kNoButton) return;
    const DragButton turnOrPan =
        drag.button == GLUT_LEFT_BUTTON ? DragButton::kTurn : DragButton::kPan;
    applyDrag(turnOrPan, x - drag.x, y - drag.y, drag.fast, renderTrack.box(), windowHeight,
              &Camera);
    drag.x = x;
    drag.y = y;
    glutPostRedisplay();
}

void ViewerWindow::turnWheel(int direction) {
    if (quitRequested()) return;
    applyWheel(direction, shiftHeld(), renderTrack.box(), &Camera);
    glutPostRedisplay();
}

void ViewerWindow::resize(int width, int height) {
    if (width == 0 || height == 0) return;
    windowWidth = width;
    windowHeight = height;
    setViewProjection(width, height);
}

// The toolkit's callbacks: each forwards to the running window.
void displayCB() { liveWindow->display(); }
void keyCB(unsigned char key, int /*x*/, int /*y*/) { liveWindow->pressKey(key); }
void specialCB(int key, int /*x*/, int /*y*/) { liveWindow->pressSpecial(key); }
void mouseCB(int button, int state, int x, int y) {
    liveWindow->mouseButton(button, state, x, y);
}
void motionCB(int x, int y) { liveWindow->movePointer(x, y); }
void wheelCB(int /*wheel*/, int direction, int /*x*/, int /*y*/) {
    liveWindow->turnWheel(direction);
}
void reshape(int width, int height) { liveWindow->resize(width, height); }
