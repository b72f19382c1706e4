#define GL_GLEXT_PROTOTYPES
#include "viewFrame.h"

#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "viewTransform.h"

namespace {

constexpr float kGridHalfWidth = 220.0f;
constexpr float kGridSpacing = 10.0f;
constexpr GLubyte kGridGreen = 127;

// The solid view's ground reaches this far beyond the scene.
constexpr float kGroundMargin = 100.0f;
// Its grid has at most this many lines each way; wider grounds space them
// out by tens.
constexpr float kMostGroundLines = 200.0f;
constexpr GLfloat kSky[4] = {0.60f, 0.76f, 0.92f, 1.0f};
constexpr GLubyte kGround[3] = {112, 140, 96};
constexpr GLubyte kGroundGrid[3] = {84, 108, 72};
// Samples per pixel of the solid view, where the GL offers as many and they
// fit in kMostSampledBytes: each costs a colour and a depth value per pixel,
// and a window may be 16384 pixels wide and high.
constexpr GLint kSolidSamples = 4;
constexpr double kBytesPerSample = 8;
constexpr double kMostSampledBytes = 512.0 * 1024 * 1024;

// Lines in the plane y = 0 over a square around the origin.
struct Grid {
    float halfWidth;
    float spacing;
};

void drawGrid(const Grid& grid) {
    const float half = grid.halfWidth;
    glBegin(GL_LINES);
    for (float x = -half; x <= half; x += grid.spacing) {
        glVertex3f(-half, 0.0f, x);
        glVertex3f(half, 0.0f, x);
        glVertex3f(x, 0.0f, -half);
        glVertex3f(x, 0.0f, half);
    }
    glEnd();
}

// Half the width of a square ground around the origin that holds the grid
// and the scene.
float groundHalfWidth(const SceneBox& box) {
    float half = kGridHalfWidth;
    if (!box.empty) {
        half = std::max({half, std::fabs(box.low.x), std::fabs(box.high.x), std::fabs(box.low.z),
                         std::fabs(box.high.z)});
    }
    return half + kGroundMargin;
}

void drawGround(const SceneBox& box) {
    const float half = groundHalfWidth(box);
    float spacing = kGridSpacing;
    while (2 * half / spacing > kMostGroundLines) spacing *= 10;
    const float gridHalf = std::ceil(half / spacing) * spacing;
    // The plane stands back a little, so the grid on it wins the depth test.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    glColor3ubv(kGround);
    glBegin(GL_QUADS);
    glVertex3f(-gridHalf, 0.0f, -gridHalf);
    glVertex3f(-gridHalf, 0.0f, gridHalf);
    glVertex3f(gridHalf, 0.0f, gridHalf);
    glVertex3f(gridHalf, 0.0f, -gridHalf);
    glEnd();
    glDisable(GL_POLYGON_OFFSET_FILL);
    glColor3ubv(kGroundGrid);
    drawGrid({gridHalf, spacing});
}

void drawFlatFrame(CCamera& camera, drawTrack& renderer, int width, int height) {
    setViewProjection(width, height, farPlaneFor(renderer.box(), camera));
    beginViewFrame(camera);
    glColor3ub(0, kGridGreen, 0);
    drawGrid({kGridHalfWidth, kGridSpacing});
    glPointSize(kViewPointSize);
    renderer.Render();
}

void drawSolidFrame(CCamera& camera, drawTrack& renderer, int width, int height) {
    const double farPlane = farPlaneFor(renderer.box(), camera);
    setViewProjection(width, height, farPlane, nearPlaneFor(farPlane));
    glClearColor(kSky[0], kSky[1], kSky[2], kSky[3]);
    glEnable(GL_DEPTH_TEST);
    beginViewFrame(camera, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawGround(renderer.box());
    renderer.Render();
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

}  // namespace

ViewFrame::~ViewFrame() { releaseSolidTarget(); }

void ViewFrame::draw(CCamera& camera, drawTrack& renderer, int width, int height) {
    if (!renderer.solid()) {
        drawFlatFrame(camera, renderer, width, height);
        return;
    }
    GLint destination = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &destination);
    // Without a target of its own the solid view goes straight into the destination.
    const bool ownTarget = bindSolidTarget(width, height);
    if (!ownTarget) glBindFramebuffer(GL_FRAMEBUFFER, destination);
    drawSolidFrame(camera, renderer, width, height);
    if (ownTarget) copySolidTarget(destination);
}

bool ViewFrame::bindSolidTarget(int width, int height) {
    if (framebuffer_ == 0 || width != width_ || height != height_) {
        releaseSolidTarget();
        width_ = width;
        height_ = height;
        GLint offered = 0;
        if (multisample_) glGetIntegerv(GL_MAX_SAMPLES, &offered);
        if (kBytesPerSample * kSolidSamples * width * height > kMostSampledBytes) offered = 0;
        if (!makeSolidTarget(std::min(offered, kSolidSamples)) && !makeSolidTarget(0)) {
            releaseSolidTarget();
            return false;
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

// A colour and a depth buffer of the window's size with `samples` samples
// (0: one per pixel); false when the GL cannot draw into them.
bool ViewFrame::makeSolidTarget(int samples) {
    releaseSolidTarget();
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colourBuffer_);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, width_,
                                     height_);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}

void ViewFrame::releaseSolidTarget() {
    if (framebuffer_ == 0) return;
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colourBuffer_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    framebuffer_ = colourBuffer_ = depthBuffer_ = 0;
}

// Resolves the samples into the framebuffer `destination` and leaves it bound.
void ViewFrame::copySolidTarget(GLint destination) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, destination);
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, destination);
}
