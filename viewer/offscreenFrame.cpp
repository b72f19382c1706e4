#define GL_GLEXT_PROTOTYPES
#include "offscreenFrame.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

namespace {

constexpr int kBytesPerPixel = 3;

// A framebuffer with one colour buffer, bound for as long as it lives.
class ColourTarget {
public:
    ColourTarget(int width, int height) {
        glGenFramebuffers(1, &framebuffer_);
        glGenRenderbuffers(1, &colour_);
        glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    }
    ColourTarget(const ColourTarget&) = delete;
    ColourTarget& operator=(const ColourTarget&) = delete;
    ~ColourTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(1, &colour_);
    }

private:
    GLuint framebuffer_ = 0;
    GLuint colour_ = 0;
};

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

}  // namespace

bool drawOffscreen(int width, int height, const std::function<void()>& draw,
                   std::vector<unsigned char>* pixels, std::string* why) {
    GLint largest = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const int widest = std::min(largest, viewport[0]);
    const int tallest = std::min(largest, viewport[1]);
    if (width > widest || height > tallest) {
        *why = "the display draws at most " + sizeText(widest, tallest);
        return false;
    }
    // Errors left by earlier calls are not this target's.
    while (glGetError() != GL_NO_ERROR) {
    }
    const ColourTarget target(width, height);
    if (glGetError() != GL_NO_ERROR ||
        glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        *why = "the display cannot hold a picture of " + sizeText(width, height);
        return false;
    }
    draw();
    pixels->resize(static_cast<size_t>(width) * height * kBytesPerPixel);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels->data());
    return true;
}
