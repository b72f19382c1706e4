// One whole frame of the view, as the window shows it and the frame
// benchmarks time it, drawn into the current draw framebuffer (the window's,
// or a screenshot's offscreen one), which stays bound.
//
//   ViewFrame::draw  sets the projection for the camera (the far plane grows
//                    to the scene when the described one does not hold it; in
//                    the solid view the near plane grows with it), clears,
//                    loads the camera's view and draws the ground, then the
//                    track in the renderer's view:
//     flat   black, the green grid (lines every 10 units over 440 x 440),
//            point size 4, straight into the framebuffer; never multisampled.
//     solid  a sky, a ground plane at y = 0 under the grid and the whole
//            scene with a grid on it, and the track, drawn into a target of
//            its own with a depth buffer, multisampled when asked for, the GL
//            offers samples and they fit the memory allowed them (at sizes up
//            to about 4096 x 4096), then copied into the current framebuffer.
// So the window needs neither a depth buffer nor samples, and the flat view's
// pixels are exactly those of a plain window. GL objects belong to the
// context current at the first solid frame.
#pragma once

#include <GL/gl.h>

#include "camera.h"
#include "drawTrack.h"

class ViewFrame {
public:
    explicit ViewFrame(bool multisample) : multisample_(multisample) {}
    ViewFrame(const ViewFrame&) = delete;
    ViewFrame& operator=(const ViewFrame&) = delete;
    ~ViewFrame();

    void draw(CCamera& camera, drawTrack& renderer, int width, int height);

private:
    bool bindSolidTarget(int width, int height);
    bool makeSolidTarget(int samples);
    void releaseSolidTarget();
    void copySolidTarget(GLint destination);

    bool multisample_;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    int width_ = 0;
    int height_ = 0;
};
