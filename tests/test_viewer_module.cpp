// The program loads its viewer only to open a window: a batch run starts
// without the window toolkit and OpenGL, and a program that cannot find its
// viewer says so after the output was written.
#include <gtest/gtest.h>

#include <string>

#include "app_fixtures.h"

namespace {

using apptest::ProgramRun;

std::string straightTrackIn(const std::string& dir) {
    ZvTrack track;
    apptest::buildStraightTrack(&track, 2);
    const std::string path = dir + "/straight.zvtrack";
    apptest::saveTrack(path, &track);
    return path;
}

TEST(ViewerModule, BatchProgramNeedsNoWindowOrGraphicsLibrary) {
    std::string libraries;
    ASSERT_EQ(apptest::runCommand(std::string("LD_TRACE_LOADED_OBJECTS=1 ") + STRUTWRIGHT_EXE,
                                  &libraries), 0);
    EXPECT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    for (const char* graphics : {"libGL", "libglut", "libX11", "libpng"}) {
        EXPECT_EQ(libraries.find(graphics), std::string::npos) << graphics << " in\n" << libraries;
    }
}

TEST(ViewerModule, MissingModuleFailsTheViewAfterTheOutputIsWritten) {
    const std::string dir = apptest::scratchDir("viewer_module_missing");
    const std::string program = dir + "/strutwright";
    std::string ignored;
    ASSERT_EQ(apptest::runCommand("cp " + std::string(STRUTWRIGHT_EXE) + " " + program, &ignored), 0);
    const std::string input = straightTrackIn(dir);

    const std::string command = program + " " + input + " 2>" + dir + "/err";
    EXPECT_EQ(apptest::runCommand(command, &ignored), 1);
    const std::string err = apptest::readFile(dir + "/err");
    EXPECT_NE(err.find("strutwright: cannot load the viewer " + dir + "/libstrutwright-viewer.so"),
              std::string::npos) << err;
    EXPECT_TRUE(apptest::fileExists(input + "-new.zvtrack"));

    EXPECT_EQ(apptest::runCommand(program + " --no-view " + input, &ignored), 0);
}

TEST(ViewerModule, InstalledProgramFindsItsModuleUnderLib) {
    const std::string dir = apptest::scratchDir("viewer_module_installed");
    const std::string built(STRUTWRIGHT_EXE);
    const std::string module = built.substr(0, built.rfind('/') + 1) + "libstrutwright-viewer.so";
    std::string ignored;
    ASSERT_EQ(apptest::runCommand("mkdir -p " + dir + "/bin " + dir + "/lib/strutwright && cp " +
                                      built + " " + dir + "/bin/ && cp " + module + " " + dir +
                                      "/lib/strutwright/", &ignored), 0);
    const std::string input = straightTrackIn(dir);

    // Without a display the module is loaded, finds none and skips the view.
    const std::string command =
        "env -u DISPLAY " + dir + "/bin/strutwright " + input + " 2>" + dir + "/err";
    EXPECT_EQ(apptest::runCommand(command, &ignored), 0);
    const std::string err = apptest::readFile(dir + "/err");
    EXPECT_NE(err.find("viewer skipped"), std::string::npos) << err;
}

}  // namespace
