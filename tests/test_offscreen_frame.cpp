// A picture larger than the GL draws, asked for in-process beside a window
// of the toolkit's on a private X server: refused in one line, nothing drawn.
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

// The window toolkit keeps its connection until the process ends, so the
// server stays up as long.
std::unique_ptr<XServer> server;

TEST(OffscreenFrame, APictureLargerThanTheGlDrawsIsRefused) {
    if (!XServer::available()) GTEST_SKIP() << "Xvfb is not installed";
    server = std::make_unique<XServer>();
    ASSERT_TRUE(server->running()) << "Xvfb did not start";
    std::string problem;
    ASSERT_TRUE(glframe::openFrameWindow(server->display().name, &problem)) << problem;

    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    bool drawn = false;
    std::vector<unsigned char> pixels;
    EXPECT_FALSE(drawOffscreen(1, viewport[1] + 1, [&drawn] { drawn = true; }, &pixels, &problem));
    EXPECT_FALSE(drawn);
    EXPECT_TRUE(pixels.empty());
    EXPECT_EQ(problem.rfind("the display draws at most ", 0), 0u) << problem;
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
