// Pictures drawn offscreen in-process, beside a window of the toolkit's on a
// private X server: the picture has the size asked for and leaves the window
// alone, and one larger than the GL draws is refused before anything is drawn.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "app_fixtures.h"
#include "glFrame.h"
#include "offscreenFrame.h"

using namespace apptest;

// As in the other in-process GL tests: the software GL driver leaves
// allocations behind when it is unloaded at exit.
extern "C" int __lsan_is_turned_off() { return 1; }  // NOLINT(bugprone-reserved-identifier)

namespace {

class OffscreenFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (server || !XServer::available()) return;  // one window for the whole run
        server = std::make_unique<XServer>();
        if (server->running()) windowOpen = glframe::openFrameWindow(server->display().name, &why);
    }

    void SetUp() override {
        if (!server) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(server->running()) << "Xvfb did not start";
        ASSERT_TRUE(windowOpen) << why;
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glFinish();
    }

    static std::unique_ptr<XServer> server;
    static bool windowOpen;
    static std::string why;
};

std::unique_ptr<XServer> OffscreenFrame::server;
bool OffscreenFrame::windowOpen = false;
std::string OffscreenFrame::why;

void clearTo(GLfloat r, GLfloat g, GLfloat b) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

TEST_F(OffscreenFrame, DrawsAtItsOwnSizeAndLeavesTheWindowAlone) {
    std::vector<unsigned char> pixels;
    std::string problem;
    ASSERT_TRUE(drawOffscreen(3, 2, [] { clearTo(0.2f, 0.4f, 0.6f); }, &pixels, &problem))
        << problem;
    const std::vector<unsigned char> sky = {51, 102, 153};
    ASSERT_EQ(pixels.size(), 3u * 2 * 3);
    for (size_t at = 0; at < pixels.size(); at += 3) {
        EXPECT_EQ(std::vector<unsigned char>(pixels.begin() + at, pixels.begin() + at + 3), sky);
    }
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0) << "the window's framebuffer is current again";
    const std::vector<unsigned char> window = glframe::readFrame();
    EXPECT_EQ(window, std::vector<unsigned char>(window.size(), 0));
}

TEST_F(OffscreenFrame, APictureLargerThanTheGlDrawsIsRefused) {
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const GLint largest = viewport[1];
    bool drawn = false;
    std::vector<unsigned char> pixels;
    std::string problem;
    EXPECT_FALSE(drawOffscreen(1, largest + 1, [&drawn] { drawn = true; }, &pixels, &problem));
    EXPECT_FALSE(drawn);
    EXPECT_TRUE(pixels.empty());
    EXPECT_EQ(problem.rfind("the display draws at most ", 0), 0u) << problem;
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
