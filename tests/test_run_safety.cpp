// The strutwright program against careless command lines and hostile paths:
// outputs that are the input, special and huge inputs, an output that cannot
// be written, running out of memory, and inputs that load but mean nonsense.
// (Links, protected files and long names at the output: test_io_paths, since
// the program saves through ZvSave; here only what the program adds: a closed
// pipe, a run killed while it saves, links into /dev and /proc.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "app_fixtures.h"
#include "pngWriter.h"
#include "syntheticTrack.h"

namespace fs = std::filesystem;
using namespace apptest;

namespace {

const std::string kEntryIndices = "0\n1\n";

std::set<std::string> entries(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

// A saved straight sample track; returns its path.
std::string sampleTrack(const std::string& dir, const std::string& name = "ride.zvtrack") {
    ZvTrack track;
    buildStraightTrack(&track);
    std::string path = dir + "/" + name;
    saveTrack(path, &track);
    return path;
}

TEST(RunFiles, OutputsThatWouldReplaceTheInputAreUsageErrors) {
    const std::string dir = scratchDir("run-files-input");
    const std::string input = sampleTrack(dir);
    const std::string output = input + "-new.zvtrack";
    const std::string before = readFile(input);
    struct Case {
        std::vector<std::string> args;
        std::string link;  // made to the input at the output path first, when set
        std::string message;
    } cases[] = {
        {{"--screenshot", input, input}, "", "the screenshot '" + input + "' is the track file itself"},
        {{"--screenshot", output, input}, "", "the screenshot '" + output + "' is the track output"},
        {{"--screenshot", dir + "/./ride.zvtrack-new.zvtrack", input}, "", "is the track output"},
        {{"--screenshot", "", input}, "", "--screenshot needs a file name"},
        {{"--no-view", input}, "symbolic", "the output '" + output + "' is the track file itself"},
        {{"--no-view", input}, "hard", "the output '" + output + "' is the track file itself"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fs::remove(output);
        if (c.link == "symbolic") fs::create_symlink("ride.zvtrack", output);
        if (c.link == "hard") fs::create_hard_link(input, output);
        const std::set<std::string> files = entries(dir);
        ProgramRun run = runProgram(c.args, {}, 20.0);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(readFile(input), before);
        EXPECT_EQ(entries(dir), files) << "nothing may be written";
    }
}

// A link that stands for standard output is not replaced, and a track read
// from /dev or /proc has no folder of its own to put the output in.
TEST(RunFiles, DeviceLinksAreNeverReplaced) {
    const std::string dir = scratchDir("run-files-devices");
    const std::string input = sampleTrack(dir);
    const std::string link = dir + "/out.zvtrack";
    fs::create_symlink("/proc/self/fd/1", link);
    const ProgramRun run = runProgram({"--no-view", "-q", "-o", link, input});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, kEntryIndices) << "no track on the standard output";
    EXPECT_EQ(run.err, "strutwright: cannot write " + link + ": not a regular file (a link to /proc/self/fd/1)\n");
    EXPECT_EQ(fs::read_symlink(link), "/proc/self/fd/1");
    EXPECT_EQ(entries(dir), (std::set<std::string>{"ride.zvtrack", "out.zvtrack"}));

    const std::pair<std::string, std::string> tracks[] = {{"/dev/stdin", "/dev"}, {"/proc/self/fd/0", "/proc"}};
    for (const auto& [track, tree] : tracks) {
        const ProgramRun derived = runProgram({"--no-view", track});
        EXPECT_EQ(derived.exitStatus, 2);
        std::string expected = "strutwright: the output '" + track + "-new.zvtrack' would go into ";
        expected += tree + "; name it with -o\nTry 'strutwright --help' for more information.\n";
        EXPECT_EQ(derived.err, expected);
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status("/dev/stdin-new.zvtrack")));
}

TEST(RunInputs, FifosAndFilesTooLargeForTheFormatAreRefusedAtOnce) {
    const std::string dir = scratchDir("run-inputs-special");
    const std::string fifo = dir + "/pipe.zvtrack";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string huge = dir + "/huge.zvtrack";
    writeFile(huge, "");
    fs::resize_file(huge, uintmax_t{3} << 30);  // sparse: takes no room on the disk
    const std::pair<std::string, std::string> cases[] = {
        {fifo, ": not a regular file (a FIFO)\n"},
        {huge, ": 3221225472 bytes, more than the 2147483647 a track file can hold\n"},
    };
    for (const auto& [path, reason] : cases) {
        const auto start = std::chrono::steady_clock::now();
        ProgramRun run = runProgram({"--no-view", path}, {}, 20.0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(run.exitStatus, 1) << path;
        std::string expected = "strutwright: " + path;
        EXPECT_EQ(run.err, expected += reason);
        EXPECT_FALSE(fileExists(path + "-new.zvtrack"));
    }
}

TEST(RunOutput, AStandardOutputThatCannotBeWrittenFailsTheRun) {
    const std::string dir = scratchDir("run-output-full");
    const std::string input = sampleTrack(dir);
    const pid_t pid = startProgram({"--no-view", "-q", input}, {}, "/dev/full", dir + "/err");
    EXPECT_EQ(waitForExit(pid, 60.0), 1);
    EXPECT_EQ(readFile(dir + "/err"),
              "strutwright: cannot write the standard output: No space left on device\n");
    EXPECT_TRUE(fileExists(input + "-new.zvtrack")) << "the track itself was written";

    const pid_t help = startProgram({"--help"}, {}, "/dev/full", dir + "/err");
    EXPECT_EQ(waitForExit(help, 60.0), 1);
    EXPECT_EQ(readFile(dir + "/err"),
              "strutwright: cannot write the standard output: No space left on device\n");
}

// A reader that went away costs the author nothing: the track is saved, then
// the run says why its output did not arrive, whatever SIGPIPE was set to.
TEST(RunOutput, AClosedPipeIsToldAfterTheTrackIsSaved) {
    const std::string dir = scratchDir("run-output-pipe");
    const std::string input = sampleTrack(dir);
    const std::string reference = dir + "/reference.zvtrack";
    ASSERT_EQ(runProgram({"--no-view", "-q", "-o", reference, input}).exitStatus, 0);
    const std::string output = dir + "/piped.zvtrack";
    for (bool sigpipeIgnored : {false, true}) {
        SCOPED_TRACE(sigpipeIgnored ? "SIGPIPE ignored" : "SIGPIPE as usual");
        fs::remove(output);
        const int status = runIntoClosedPipe({STRUTWRIGHT_EXE, "-q", "--no-view", "-o", output, input},
                                             dir + "/err", sigpipeIgnored, 60.0);
        ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(readFile(dir + "/err"), "strutwright: cannot write the standard output: Broken pipe\n");
        EXPECT_EQ(readFile(output), readFile(reference));
    }
}

// Whether `pid` holds a file without a name in `folder` open: a save in
// progress.
bool savingUnnamed(pid_t pid, const std::string& folder) {
    std::error_code error;
    const std::string deleted = " (deleted)";
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const std::string target = fs::read_symlink(entry.path(), error).string();
        if (target.rfind(folder + "/", 0) == 0 && target.size() > deleted.size() &&
            target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0) {
            return true;
        }
    }
    return false;
}

// Stops `pid` again and again, and kills it with SIGKILL at the first stop
// that finds it writing a file without a name in `folder`; whether that
// happened before it ended. Stopped, it cannot move on between the look
// and the kill.
bool killedWhileSaving(pid_t pid, const std::string& folder) {
    for (;;) {
        int status = 0;
        kill(pid, SIGSTOP);
        if (waitpid(pid, &status, WUNTRACED) != pid || !WIFSTOPPED(status)) return false;
        if (savingUnnamed(pid, folder)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return true;
        }
        kill(pid, SIGCONT);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// A run killed in the middle of writing a large output leaves nothing in the
// output's folder, not even a partial file under a hidden name.
TEST(RunOutput, ARunKilledDuringTheSaveLeavesNoFileBehind) {
    const std::string outputs = fs::canonical(scratchDir("run-killed-output")).string();
    const int probe = open(outputs.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) GTEST_SKIP() << "the file system offers no unnamed files";
    close(probe);
    ZvTrack track;
    buildStraightTrack(&track);
    setOwnedAuthorComments(std::string(size_t{16} << 20, 'c'), &track);
    const std::string input = scratchDir("run-killed") + "/large.zvtrack";
    saveTrack(input, &track);

    constexpr int kRuns = 3;  // a save missed by every stop of a run is tried again
    bool caught = false;
    for (int run = 0; run < kRuns && !caught; ++run) {
        fs::remove(outputs + "/out.zvtrack");
        const pid_t pid = startProgram({"--no-view", "-q", "-o", outputs + "/out.zvtrack", input}, {},
                                       "/dev/null", "/dev/null");
        caught = killedWhileSaving(pid, outputs);
    }
    ASSERT_TRUE(caught) << "the save was never seen in progress";
    EXPECT_TRUE(entries(outputs).empty());
}

#ifndef __SANITIZE_ADDRESS__
// An address-space limit the program starts within but the track exceeds.
TEST(RunFailures, RunningOutOfMemoryIsToldWithTheFile) {
    const std::string dir = scratchDir("run-out-of-memory");
    const std::string input = dir + "/large.zvtrack";
    ZvTrack large = syntheticTrack(200000);
    saveTrack(input, &large);
    const std::string limited = "ulimit -v 60000; exec " + std::string(STRUTWRIGHT_EXE) +
                                " --no-view ";
    std::string ignored;
    EXPECT_EQ(runCommand(limited + sampleTrack(dir) + " >/dev/null", &ignored), 0)
        << "the limit must leave room for a small track";
    EXPECT_EQ(runCommand(limited + input + " >/dev/null 2>" + dir + "/err", &ignored), 1);
    EXPECT_EQ(readFile(dir + "/err"), "strutwright: " + input + ": out of memory\n");
}
#endif

TEST(RunWarnings, TubesNamingMissingNodesAndMarkersOffTheirSegmentAreTold) {
    const std::string dir = scratchDir("run-warnings");
    ZvTrack track;
    buildStraightTrack(&track);
    addSupport(kEndFreeNode, 5, 0, kEndFundNode, 0, 0, 1, 0, 0, &track);  // no nodes at all
    addTrackNode(1, kMarkerColumn, 2.0f, &track);
    const std::string input = dir + "/ride.zvtrack";
    saveTrack(input, &track);
    ProgramRun run = runProgram({"--no-view", input});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, kEntryIndices);
    const std::string tube = "strutwright: " + input +
                             ": tubeArray[0]: end 1 names free node 5, but the track has 0 free "
                             "nodes; end 2 names foundation node 0, but the track has 0 "
                             "foundation nodes\n";
    const std::string marker =
        "strutwright: " + input + ": segment 1: the marker at 2 lies outside 0..1 along it; it was left in place\n";
    EXPECT_EQ(run.err.find(tube + marker), 0u) << run.err;
}

// The screenshot goes where it is asked to, by the same rules as the track.
TEST(ScreenshotFile, IsWrittenByTheLinkPolicy) {
    const std::string dir = scratchDir("screenshot-file");
    writeFile(dir + "/victim.png", "not to be touched");
    writeFile(dir + "/shot.png.part", "a file of the author's");
    fs::create_symlink("victim.png", dir + "/shot.png");
    const std::vector<unsigned char> pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    std::string error;
    ASSERT_TRUE(writePngRgb(dir + "/shot.png", 2, 2, pixels, &error)) << error;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir + "/shot.png")));
    Picture picture = readPng(dir + "/shot.png");
    ASSERT_TRUE(picture.valid());
    int bottomLeft[3];
    picture.at(0, 1, bottomLeft);
    EXPECT_EQ(bottomLeft[0], 255) << "the first row given is the bottom one";
    EXPECT_EQ(readFile(dir + "/victim.png"), "not to be touched");
    EXPECT_EQ(readFile(dir + "/shot.png.part"), "a file of the author's");
    EXPECT_EQ(entries(dir), (std::set<std::string>{"victim.png", "shot.png", "shot.png.part"}));

    fs::permissions(dir + "/victim.png", fs::perms::owner_read);
    EXPECT_FALSE(writePngRgb(dir + "/victim.png", 2, 2, pixels, &error));
    EXPECT_NE(error.find("write-protected"), std::string::npos) << error;
    EXPECT_EQ(readFile(dir + "/victim.png"), "not to be touched");
}

}  // namespace
