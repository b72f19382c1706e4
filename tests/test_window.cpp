// The live viewer window in a private X server, driven like a user would:
// title and size, the grid in the window, keys, and Escape.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app_fixtures.h"
#include "syntheticTrack.h"

using namespace apptest;

namespace {

const char* const kTitle = "Zorvan Strutwright - 3D View";
constexpr int kGridGreen = 127;

class ViewerWindow : public ::testing::Test {
protected:
    void SetUp() override {
        prepareInput();
        startViewer();
    }

    void prepareInput() {
        if (!XServer::available()) GTEST_SKIP() << "Xvfb is not installed";
        server.reset(new XServer);
        ASSERT_TRUE(server->running()) << "Xvfb did not start";
        dir = scratchDir(std::string("window-") +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ZvTrack track;
        buildStraightTrack(&track);
        input = dir + "/ride.zvtrack";
        saveTrack(input, &track);
    }

    void startViewer(std::vector<std::string> options = {}) {
        if (!server) return;
        options.push_back(input);
        pid = startProgram(options, server->display(), dir + "/stdout", dir + "/stderr");
        ASSERT_GT(pid, 0);
        window = findWindow();
        ASSERT_FALSE(window.empty()) << readFile(dir + "/stderr");
    }

    void TearDown() override {
        if (pid > 0 && waitForExit(pid, 0) < 0) kill(pid, SIGKILL);
    }

    std::string x(const std::string& command) {
        std::string out;
        runCommand("DISPLAY=" + server->display().name + " " + command + " 2>/dev/null", &out);
        return out;
    }

    std::string findWindow() {
        std::string id = x(std::string("timeout 20 xdotool search --sync --onlyvisible --name '") +
                           kTitle + "'");
        return id.substr(0, id.find('\n'));
    }

    std::string dump() { return x("xwd -silent -id " + window); }

    // Waits up to two seconds for the window's contents to differ from `before`.
    std::string dumpChangedFrom(const std::string& before) {
        std::string now = dump();
        for (int i = 0; i < 100 && now == before; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            now = dump();
        }
        return now;
    }

    // The window's picture once the first frame's grid shows (two seconds at most).
    Picture gridFrame() {
        Picture frame = readXwd(dumpChangedFrom(""));
        for (int i = 0; i < 100 && frame.count(0, kGridGreen, 0) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            frame = readXwd(dump());
        }
        return frame;
    }

    std::string press(const std::string& key) {
        std::string before = dump();
        x("xdotool windowfocus --sync " + window + " key " + key);
        return before;
    }

    // Asks the window to close as a window manager's close button does.
    void closeWindow() {
        ::Display* display = XOpenDisplay(server->display().name.c_str());
        ASSERT_NE(display, nullptr);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = std::stoul(window);
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
        XCloseDisplay(display);
    }

    std::unique_ptr<XServer> server;
    std::string dir, input, window;
    pid_t pid = -1;
};

TEST_F(ViewerWindow, OpensWithTitleAndSizeAndDrawsTheGrid) {
    std::string info = x("xwininfo -id " + window);
    EXPECT_NE(info.find(std::string("\"") + kTitle + "\""), std::string::npos) << info;
    EXPECT_NE(info.find("Width: 600"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 600"), std::string::npos) << info;

    Picture frame = gridFrame();
    ASSERT_TRUE(frame.valid());
    // The ground line under the track's middle: world (0, 0, 0) is 40 units
    // ahead and 10 below the eye.
    EXPECT_GT(frame.count(0, kGridGreen, 0), 1000);
    EXPECT_TRUE(frame.hasColourNear(300, 505, 2, 0, kGridGreen, 0));
    EXPECT_TRUE(fileExists(input + "-new.zvtrack"));
}

TEST_F(ViewerWindow, BoundKeysRedrawUnboundKeysDoNot) {
    std::string first = dumpChangedFrom("");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    first = dump();

    std::string before = press("W");  // upper case is not bound
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(dump(), before);
    press("1");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(dump(), before);

    before = press("a");
    std::string turned = dumpChangedFrom(before);
    EXPECT_NE(turned, before);
    before = press("d");  // turning back restores the first picture
    EXPECT_EQ(dumpChangedFrom(before), first);
}

TEST_F(ViewerWindow, EscapeEndsTheProgramWithStatusZero) {
    press("Escape");
    EXPECT_EQ(waitForExit(pid, 10), 0) << readFile(dir + "/stderr");
    pid = -1;
    EXPECT_EQ(readFile(dir + "/stdout"), "0\n1\n");
}

TEST_F(ViewerWindow, ClosingTheWindowEndsTheProgramWithStatusZero) {
    closeWindow();
    EXPECT_EQ(waitForExit(pid, 10), 0) << readFile(dir + "/stderr");
    pid = -1;
    EXPECT_TRUE(fileExists(input + "-new.zvtrack"));
}

// A folder where the output belongs makes the save fail: with a display at
// hand no window opens (it would keep the program running), and the failure
// is the last line.
class ViewerWindowAfterFailedSave : public ViewerWindow {
protected:
    void SetUp() override { prepareInput(); }
};

TEST_F(ViewerWindowAfterFailedSave, NoWindowOpensAndTheProgramEndsWithStatusOne) {
    std::string ignored;
    ASSERT_EQ(runCommand("mkdir " + input + "-new.zvtrack", &ignored), 0);
    const ProgramRun run = runProgram({input}, server->display(), 20.0);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(linesStartingWith(run.err, "strutwright: ").back().rfind("strutwright: cannot write " + input, 0), 0u)
        << run.err;
}

// -geometry sets the window's size and place: "-0" puts its right edge
// against the screen's (1024 x 768, and no window manager to move it).
class SizedViewerWindow : public ViewerWindow {
protected:
    void SetUp() override {
        prepareInput();
        if (IsSkipped() || HasFatalFailure()) return;
        startViewer({"-geometry", "400x300-0+20"});
    }
};

TEST_F(SizedViewerWindow, GeometryOptionSetsTheWindowSizeAndPlace) {
    std::string info = x("xwininfo -id " + window);
    EXPECT_NE(info.find("Width: 400"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 300"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left X:  624"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left Y:  20"), std::string::npos) << info;
    EXPECT_GT(gridFrame().count(0, kGridGreen, 0), 500);
}

// The 20,000-marker circuit, whose frames take a while under software GL.
class BusyViewerWindow : public ViewerWindow {
protected:
    void SetUp() override {
        prepareInput();
        if (IsSkipped() || HasFatalFailure()) return;
        ZvTrack track = syntheticTrack(20000);
        saveTrack(input, &track);
        startViewer();
    }
};

// Key presses that arrive faster than frames are applied together and cost
// one frame, not one each; Escape ends the program without drawing them all.
TEST_F(BusyViewerWindow, QueuedKeyPressesShareAFrameAndEscapeEndsAtOnce) {
    dumpChangedFrom("");
    std::string keys;
    for (int i = 0; i < 100; ++i) keys += i % 2 ? " d" : " a";
    const auto start = std::chrono::steady_clock::now();
    x("xdotool windowfocus --sync " + window + " key --delay 0" + keys + " Escape");
    EXPECT_EQ(waitForExit(pid, 120), 0) << readFile(dir + "/stderr");
    pid = -1;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 8.0);
}

// The program names the help key once on stderr, after the run summary,
// unless told to be quiet.
TEST_F(ViewerWindow, StartNamesTheHelpKeyOnce) {
    press("Escape");
    EXPECT_EQ(waitForExit(pid, 10), 0);
    pid = -1;
    const std::string err = readFile(dir + "/stderr");
    const std::string note = "strutwright: press F1 in the 3D view for its keys and mouse actions\n";
    const size_t at = err.find(note);
    ASSERT_NE(at, std::string::npos) << err;
    EXPECT_EQ(err.find("F1", at + note.size()), std::string::npos) << err;
    EXPECT_EQ(at + note.size(), err.size()) << "the note comes after the run summary\n" << err;
}

class QuietViewerWindow : public ViewerWindow {
protected:
    void SetUp() override {
        prepareInput();
        if (IsSkipped() || HasFatalFailure()) return;
        startViewer({"-q"});
    }
};

TEST_F(QuietViewerWindow, QuietStartSaysNothing) {
    press("Escape");
    EXPECT_EQ(waitForExit(pid, 10), 0);
    pid = -1;
    EXPECT_EQ(readFile(dir + "/stderr"), "");
}

constexpr int kCentreLineBlue[3] = {0, 183, 239};
constexpr int kTubeRed[3] = {255, 0, 0};

int pixelsOf(const Picture& picture, const int (&colour)[3]) {
    return picture.count(colour[0], colour[1], colour[2]);
}

// The straight sample track with its columns, 800 units from the origin:
// nothing of it is in view from the start camera.
class FarTrackWindow : public ViewerWindow {
protected:
    void SetUp() override {
        prepareInput();
        if (IsSkipped() || HasFatalFailure()) return;
        ZvTrack track;
        buildStraightTrack(&track);
        moveBeziers(&track, {560, 0, -570});
        saveTrack(input, &track);
        startViewer();
        first = settledFrame();
    }

    // The first frame, once the window shows it.
    std::string settledFrame() {
        std::string frame = dumpChangedFrom("");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return dump();
    }

    std::string keys(const std::string& names) {
        std::string before = dump();
        x("xdotool windowfocus --sync " + window + " key --delay 0 " + names);
        return dumpChangedFrom(before);
    }

    // Drags with `button` held from the window's middle to `to`.
    struct Offset {
        int dx, dy;
    };
    std::string drag(int button, Offset to) {
        std::string before = dump();
        const std::string b = std::to_string(button);
        x("xdotool mousemove --window " + window + " 300 300 mousedown " + b +
          " mousemove --window " + window + " " + std::to_string(300 + to.dx) + " " +
          std::to_string(300 + to.dy) + " mouseup " + b);
        return dumpChangedFrom(before);
    }

    std::string first;
};

TEST_F(FarTrackWindow, FirstFrameShowsTheTrackAndHomeBringsItBack) {
    const Picture framed = readXwd(first);
    EXPECT_GT(pixelsOf(framed, kCentreLineBlue), 100);
    EXPECT_GT(pixelsOf(framed, kTubeRed), 20);
    EXPECT_GT(framed.count(180, 180, 180), 5) << "foundations";

    const std::string away = keys("s s s s s s s s s s a a a a a a a a x x x Next Next");
    EXPECT_NE(away, first);
    EXPECT_EQ(keys("Home"), first);
}

// A left drag of 20 pixels to the right turns as far as one press of a.
TEST_F(FarTrackWindow, DraggingTurnsAndPansTheView) {
    const std::string turned = drag(1, {20, 0});
    EXPECT_NE(turned, first);
    EXPECT_EQ(keys("d"), first);
    EXPECT_NE(drag(3, {30, 10}), first);
}

// The wheel brings the track nearer: its foundations grow on the screen.
TEST_F(FarTrackWindow, WheelMovesTowardsTheTrack) {
    std::string before = dump();
    x("xdotool mousemove --window " + window + " 300 300 click 4 click 4");
    const Picture nearer = readXwd(dumpChangedFrom(before));
    EXPECT_GT(nearer.count(180, 180, 180), readXwd(first).count(180, 180, 180) * 5 / 4);
}

TEST_F(FarTrackWindow, HelpComesAndGoes) {
    const Picture help = readXwd(keys("F1"));
    EXPECT_GT(help.count(255, 255, 255), 500) << "the help's text";
    EXPECT_EQ(keys("F1"), first);
}

// The solid view: lit surfaces in many shades; F2 again gives the flat
// picture back.
TEST_F(FarTrackWindow, SolidViewIsShadedAndFlatViewComesBack) {
    const Picture solid = readXwd(keys("F2"));
    EXPECT_GT(solid.distinctColours(), 100u);
    EXPECT_LT(readXwd(first).distinctColours(), 20u);
    EXPECT_EQ(keys("F2"), first);
}

}  // namespace
