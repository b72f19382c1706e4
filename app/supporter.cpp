#include "supporter.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "camera.h"
#include "commandLine.h"
#include "displayProbe.h"
#include "drawTrack.h"
#include "keyBindings.h"
#include "pngWriter.h"
#include "quitMessage.h"
#include "strutWright.h"
#include "../track/track.h"

namespace {

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

constexpr const char* kBanner = "--- QTR V1.0 pre-beta ---\r\n";
constexpr const char* kOutputSuffix = "-new.zvtrack";

constexpr const char* kWindowTitle = "Zorvan Strutwright - 3D View";
constexpr int kWindowSize = 600;

constexpr double kFieldOfViewDegrees = 40.0;
constexpr double kNearPlane = 0.5;
constexpr double kFarPlane = 700.0;

// The scene stands this far below and in front of the camera's start.
constexpr float kSceneShiftY = -10.0f;
constexpr float kSceneShiftZ = -40.0f;

constexpr float kGridHalfWidth = 220.0f;
constexpr float kGridSpacing = 10.0f;
constexpr GLubyte kGridGreen = 127;
constexpr GLfloat kPointSize = 4.0f;

CCamera Camera;
drawTrack renderTrack;
strutWright generator;
ZvTrack track;
Supports supports;
// The document refers to this text after the banner is added; it must live
// as long as the document.
std::string newAuthorComments;

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

// The library's reports name the file themselves.
bool loadTrack(const std::string& path) {
    ZvLoadReport report;
    bool loaded = ZvOpen(path.c_str(), &track, &report) != 0;
    if (loaded && report.chunksRead > 0) {
        if (!report.warning.empty()) {
            std::fprintf(stderr, "strutwright: %s\n", report.warning.c_str());
        }
        return true;
    }
    if (!loaded && !report.error.empty()) {
        std::fprintf(stderr, "strutwright: %s\n", report.error.c_str());
    } else {
        std::fprintf(stderr, "strutwright: %s: no track data found\n", path.c_str());
    }
    return false;
}

void generateSupports() {
    renderTrack.setTrack(&track);
    generator.setTrack(&track);
    setDriverDefaults(&supports);
    generator.setSupport(&supports);
    generator.Make();
}

void prependBanner() {
    const char* oldComments = getAuthorComments(&track);
    newAuthorComments = std::string(kBanner) + (oldComments ? oldComments : "");
    setAuthorComments(newAuthorComments.c_str(), &track);
}

bool saveTrack(const std::string& inputPath) {
    const std::string outputPath = inputPath + kOutputSuffix;
    std::string error;
    if (ZvSave(outputPath.c_str(), &track, &error)) return true;
    if (error.empty()) error = outputPath + ": the save failed";
    std::fprintf(stderr, "strutwright: cannot write %s\n", error.c_str());
    return false;
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
        postQuitMessage(kExitOk);
    } else {
        std::fprintf(stderr, "strutwright: cannot write %s: %s\n", screenshotPath.c_str(),
                     error.c_str());
        postQuitMessage(kExitFailure);
    }
}

void openWindow(const CommandLine& commandLine) {
    initToolkit(commandLine.toolkitArgs);
    glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
    glutInitWindowSize(kWindowSize, kWindowSize);
    glutCreateWindow(kWindowTitle);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    screenshotPath = commandLine.screenshotPath;
    glutDisplayFunc(screenshotPath.empty() ? displayCB : screenshotDisplayCB);
    glutKeyboardFunc(keyCB);
    glutReshapeFunc(reshape);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
}

// The viewing phase; returns the exit status. `savedStatus` is the status the
// batch phase earned (a failed save keeps the process from ending with 0).
int runViewer(const CommandLine& commandLine, int savedStatus) {
    std::string why;
    if (!probeDisplay(commandLine.displayName, &why)) {
        if (!commandLine.screenshotPath.empty()) {
            std::fprintf(stderr, "strutwright: no display (%s): cannot take the screenshot %s\n",
                         why.c_str(), commandLine.screenshotPath.c_str());
            return kExitFailure;
        }
        std::fprintf(stderr, "strutwright: no display (%s): viewer skipped\n", why.c_str());
        return savedStatus;
    }
    openWindow(commandLine);
    releaseDisplayProbe();
    for (char key : commandLine.keys) applyCameraKey(static_cast<unsigned char>(key), &Camera);
    glutMainLoop();
    return std::max(savedStatus, quitExitCode());
}

}  // namespace

void displayCB() {
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    Camera.Render();
    glTranslatef(0.0f, kSceneShiftY, kSceneShiftZ);
    drawGroundGrid();
    glPointSize(kPointSize);
    renderTrack.Render();
    glFlush();
}

void keyCB(unsigned char key, int /*x*/, int /*y*/) {
    if (key == kEscapeKey) {
        postQuitMessage(kExitOk);
    } else if (applyCameraKey(key, &Camera)) {
        displayCB();
    }
}

void reshape(int width, int height) {
    if (width == 0 || height == 0) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewDegrees, static_cast<double>(width) / height, kNearPlane,
                   kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
}

int main(int argc, char** argv) {
    const CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.help) {
        std::fputs(usageText(), stdout);
        return kExitOk;
    }
    if (commandLine.version) {
        std::printf("strutwright %s\n", STRUTWRIGHT_VERSION);
        return kExitOk;
    }
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "strutwright: %s\n%s", commandLine.error.c_str(), usageText());
        return kExitUsage;
    }
    if (!loadTrack(commandLine.trackPath)) return kExitFailure;
    generateSupports();
    prependBanner();
    const int savedStatus = saveTrack(commandLine.trackPath) ? kExitOk : kExitFailure;
    std::fflush(stdout);
    if (commandLine.noView) return savedStatus;
    return runViewer(commandLine, savedStatus);
}
