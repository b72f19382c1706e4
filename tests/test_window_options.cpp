// The window options with a display at hand: a -geometry the program cannot
// use is refused before any window opens, and a window the screen does not
// show (too small, off the screen, iconic) still gives its screenshot, the
// same picture as a window on the screen.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include "app_fixtures.h"

using namespace apptest;

namespace {

// A run that waits on a window the screen does not show is stopped here.
constexpr double kRunSeconds = 60;
// Every run here, refused or drawn, stays below this (resident, at its peak).
constexpr long kMostKilobytes = 512L * 1024;

// The largest resident size any finished child of this test process reached.
long childrenPeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

class WindowOptions : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XServer::available()) GTEST_SKIP() << "Xvfb is not installed";
        server.reset(new XServer);
        ASSERT_TRUE(server->running()) << "Xvfb did not start";
        dir = scratchDir(std::string("window-options-") +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ZvTrack track;
        buildStraightTrack(&track);
        input = dir + "/ride.zvtrack";
        saveTrack(input, &track);
    }

    // The screenshot of a run with these options, or an invalid picture.
    Picture shoot(const std::string& name, std::vector<std::string> options) {
        const std::string shot = dir + "/" + name + ".png";
        options.insert(options.end(), {"-q", "--screenshot", shot, input});
        const ProgramRun run = runProgram(options, server->display(), kRunSeconds);
        EXPECT_EQ(run.exitStatus, 0) << name << ": " << run.err;
        EXPECT_EQ(run.err, "") << name;
        return readPng(shot);
    }

    std::unique_ptr<XServer> server;
    std::string dir, input;
};

TEST_F(WindowOptions, GeometryOutsideItsFormIsAUsageErrorBeforeAnyWindow) {
    const std::string shot = dir + "/shot.png";
    for (const char* value : {"100000x100000", "40000x40000", "16385x10", "abc", "garbage", "0x0",
                              "", "10x", "10x10+5", "+32768+0", "=10x10", "+-5+5"}) {
        const ProgramRun run = runProgram({"-geometry", value, "--screenshot", shot, input},
                                          server->display(), kRunSeconds);
        EXPECT_EQ(run.exitStatus, 2) << value;
        EXPECT_EQ(run.err, std::string("strutwright: -geometry takes WxH, {+-}X{+-}Y or both "
                                       "(sides 1 to 16384, offsets up to 32767), not '") +
                               value + "'\nTry 'strutwright --help' for more information.\n");
    }
    EXPECT_FALSE(fileExists(shot));
    EXPECT_LT(childrenPeakKilobytes(), kMostKilobytes);
}

// A tiny window, a long strip reaching off the screen, a window far off it and
// an iconic one: each gives the picture of its size, the same one as a window
// on the screen, in both views.
TEST_F(WindowOptions, ScreenshotsComeWhereverTheWindowIs) {
    const Picture tiny = shoot("tiny", {"-geometry", "1x1"});
    EXPECT_TRUE(tiny.width == 1 && tiny.height == 1);
    const Picture strip = shoot("strip", {"-geometry", "16384x2-32767-0"});
    EXPECT_TRUE(strip.width == 16384 && strip.height == 2);
    for (const char* view : {"--view=flat", "--view=solid"}) {
        const Picture shown = shoot("shown", {view, "-geometry", "320x240+0+0"});
        ASSERT_TRUE(shown.valid()) << view;
        EXPECT_GT(shown.distinctColours(), 3u) << view;
        EXPECT_EQ(shoot("away", {view, "-geometry", "320x240+5000-3000"}).rgb, shown.rgb) << view;
        EXPECT_EQ(shoot("iconic", {view, "-iconic", "-geometry", "320x240"}).rgb, shown.rgb)
            << view;
    }
    EXPECT_LT(childrenPeakKilobytes(), kMostKilobytes);
}

}  // namespace
