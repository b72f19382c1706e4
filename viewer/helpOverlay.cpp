#include "helpOverlay.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "viewKeys.h"

namespace {

void* const kFont = GLUT_BITMAP_9_BY_15;
constexpr int kLineHeight = 17;
constexpr int kCharWidth = 9;
constexpr int kMargin = 10;
constexpr GLfloat kBoxOpacity = 0.75f;

constexpr const char* kHeading = "Keys and mouse (F1 hides this help)";
const char* const kAmberNote[] = {
    "Amber tubes in the solid view come closer to the track",
    "than the clearance (strutwright --clearance, default 1.5)",
};

size_t longest(const std::vector<std::string>& lines) {
    size_t most = 0;
    for (const std::string& line : lines) most = std::max(most, line.size());
    return most;
}

}  // namespace

std::vector<std::string> helpLines(bool solid, double lastFrameMs) {
    std::vector<std::string> lines{kHeading};
    lines.insert(lines.end(), std::begin(kViewKeyLines), std::end(kViewKeyLines));
    lines.emplace_back("");
    lines.insert(lines.end(), std::begin(kAmberNote), std::end(kAmberNote));
    char status[64];
    std::snprintf(status, sizeof status, "%s view, last frame %.1f ms", solid ? "solid" : "flat",
                  lastFrameMs);
    lines.emplace_back("");
    lines.emplace_back(status);
    return lines;
}

void drawHelpOverlay(const std::vector<std::string>& lines, int width, int height) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const int boxWidth = static_cast<int>(longest(lines)) * kCharWidth + 2 * kMargin;
    const int boxHeight = static_cast<int>(lines.size()) * kLineHeight + 2 * kMargin;
    glColor4f(0.0f, 0.0f, 0.0f, kBoxOpacity);
    glRecti(0, height - boxHeight, boxWidth, height);
    glColor3f(1.0f, 1.0f, 1.0f);
    int baseline = height - kMargin - kLineHeight + 4;
    for (const std::string& line : lines) {
        glRasterPos2i(kMargin, baseline);
        glutBitmapString(kFont, reinterpret_cast<const unsigned char*>(line.c_str()));
        baseline -= kLineHeight;
    }

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
