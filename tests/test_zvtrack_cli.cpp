// The zvtrack program: files it writes, exit statuses and messages, and the
// demo track run through the support generator.
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "processes.h"
#include "syntheticTrack.h"
#include "trackCheck.h"
#include "zvtrack_test_support.h"

#ifndef STRUTWRIGHT_EXE
#include "batch.h"
#endif

using ::testing::HasSubstr;
using ::testing::StartsWith;
using zvtest::quoted;
using zvtest::RunResult;
using zvtest::ScratchDir;

namespace {

const std::string kZvtrack = ZVTRACK_EXE;

RunResult zvtrack(const std::string& arguments, const ScratchDir& dir) {
    return zvtest::run(kZvtrack + " " + arguments, dir);
}

// Bytes the library itself writes for a document.
std::string savedBytes(ZvTrack* track, const ScratchDir& dir) {
    const std::string path = dir.file("reference.zvtrack");
    zvtest::saveTrack(path, track);
    return zvtest::readFile(path);
}

// Runs the generator on a track file and returns the path of what it wrote.
std::string generate(const std::string& input, const ScratchDir& dir) {
#ifdef STRUTWRIGHT_EXE
    RunResult result = zvtest::run(std::string(STRUTWRIGHT_EXE) + " --no-view " + quoted(input), dir);
    EXPECT_EQ(result.status, 0) << result.err;
#else
    static ZvTrack track;
    track = ZvTrack{};
    EXPECT_EQ(runBatch(input, input + "-new.zvtrack", &track, BatchOptions{}).stage,
              BatchStage::kDone);
#endif
    return input + "-new.zvtrack";
}

struct MarkerCounts {
    int columns = 0, crossbeams = 0, bracedLegs = 0, strutOnly = 0;
};

MarkerCounts countMarkers(const ZvTrack& track) {
    MarkerCounts counts;
    for (const TrackNodeList& list : track.trackNodeLists) {
        for (const TrackNodeRecord& node : list.nodes) {
            if (node.nodeType == 2) ++counts.columns;
            else if (node.nodeType == 6) ++counts.crossbeams;
            else if (node.nodeType == 7) ++counts.bracedLegs;
            else ++counts.strutOnly;
        }
    }
    return counts;
}

}  // namespace

TEST(ZvtrackNew, WritesTheBytesOfANewTrack) {
    ScratchDir dir;
    const std::string path = dir.file("fresh.zvtrack");
    RunResult result = zvtrack("new " + quoted(path), dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out + result.err, "");
    std::string bytes = zvtest::readFile(path);
    EXPECT_EQ(bytes.size(), 1649u + std::string(kNewTrackComments).size());
    EXPECT_EQ(bytes.size(), 1685u);
    EXPECT_EQ(bytes, savedBytes(zvtest::newTrack().get(), dir));
}

TEST(ZvtrackDemo, WritesTheDemoTrackAndTheCommittedExampleIsCurrent) {
    ScratchDir dir;
    const std::string path = dir.file("demo.zvtrack");
    RunResult result = zvtrack("demo " + quoted(path), dir);
    EXPECT_EQ(result.status, 0) << result.err;
    std::string bytes = zvtest::readFile(path);
    EXPECT_EQ(bytes, savedBytes(zvtest::demoTrack().get(), dir));
    EXPECT_EQ(bytes, zvtest::readFile(std::string(SW_SOURCE_DIR) + "/examples/demo.zvtrack"))
        << "examples/demo.zvtrack is stale: regenerate it with `zvtrack demo examples/demo.zvtrack`";
}

TEST(ZvtrackDemo, DemoTrackHasEveryFeatureTheGeneratorReads) {
    auto track = zvtest::demoTrack();
    EXPECT_EQ(track->closedTrack, 1);
    EXPECT_EQ(track->segmentArray.size(), track->bezierArray.size());
    std::vector<int> types;
    for (const SegmentRecord& s : track->segmentArray) types.push_back(s.type);
    EXPECT_THAT(types, ::testing::IsSupersetOf({kSegmentStation, kSegmentLift, kSegmentBrake}));
    MarkerCounts counts = countMarkers(*track);
    EXPECT_GT(counts.columns, 0);
    EXPECT_GT(counts.crossbeams, 0);
    EXPECT_GT(counts.bracedLegs, 0);
    EXPECT_GT(counts.strutOnly, 0);
    const Color green = createColorARGB(255, 0, 255, 0), red = createColorARGB(255, 255, 0, 0);
    auto same = [](Color a, Color b) {
        return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
    };
    bool mirrored = false, noDiagonal = false, ownTie = false;
    for (const SegmentRecord& s : track->segmentArray) {
        mirrored |= same(s.color1, green);
        noDiagonal |= same(s.color2, red);
        ownTie |= s.color3.red != 255 && s.color3.blue != 255;
    }
    EXPECT_TRUE(mirrored && noDiagonal && ownTie);
    for (const BezierRecord& b : track->bezierArray) {
        EXPECT_LE(std::abs(b.position.x), 60.0f);
        EXPECT_LE(std::abs(b.position.z), 60.0f);
        EXPECT_LE(b.position.y, 35.0f);
    }
}

// Each marker of type 2 or 6 becomes 5 free nodes, 1 foundation and 3 tubes;
// a plain one 2 free nodes and a tube; a braced leg 8/2/5 without ties, 22/2/12
// with ties and 27/2/15 with ties and the extra diagonal. Solving the totals
// for the braced legs tells how many of each the generator built.
TEST(ZvtrackDemo, GeneratesColumnsCrossbeamsAndBracedLegsWithTies) {
    ScratchDir dir;
    const std::string input = dir.file("demo.zvtrack");
    ASSERT_EQ(zvtrack("demo " + quoted(input), dir).status, 0);
    MarkerCounts markers = countMarkers(*zvtest::loadTrack(input));
    auto generated = zvtest::loadTrack(generate(input, dir));
    EXPECT_EQ(countMarkers(*generated).columns + countMarkers(*generated).bracedLegs, 0);

    const int singles = markers.columns + markers.crossbeams;
    EXPECT_EQ(int(generated->fundNodeArray.size()), singles + 2 * markers.bracedLegs);
    const int legFree = int(generated->freeNodeArray.size()) - 5 * singles - 2 * markers.strutOnly;
    const int legTubes = int(generated->tubeArray.size()) - 3 * singles - markers.strutOnly;
    // 8a + 22b + 27c = legFree, 5a + 12b + 15c = legTubes, a + b + c = legs.
    const int legs = markers.bracedLegs;
    const int twoB_plus_5c = legTubes - 5 * legs;         // 7b + 10c
    const int fourteenB_19c = legFree - 8 * legs;         // 14b + 19c
    const int withDiagonal = 2 * twoB_plus_5c - fourteenB_19c;  // c
    ASSERT_EQ((twoB_plus_5c - 10 * withDiagonal) % 7, 0);
    const int tiesOnly = (twoB_plus_5c - 10 * withDiagonal) / 7;
    const int noTies = legs - tiesOnly - withDiagonal;
    EXPECT_GT(noTies, 0) << "low braced legs without tie sections";
    EXPECT_GT(tiesOnly, 0) << "tied braced legs without the extra diagonal";
    EXPECT_GT(withDiagonal, 0) << "tied braced legs with the extra diagonal";
    for (const FundNodeRecord& f : generated->fundNodeArray) EXPECT_EQ(f.y, 0.0f);
}

TEST(ZvtrackCheckProgram, SilentOnCleanTracksAndWhatTheGeneratorWrites) {
    ScratchDir dir;
    for (const char* command : {"new", "demo"}) {
        const std::string input = dir.file(std::string(command) + ".zvtrack");
        ASSERT_EQ(zvtrack(std::string(command) + " " + quoted(input), dir).status, 0);
        for (const std::string& path : {input, generate(input, dir)}) {
            RunResult result = zvtrack("check " + quoted(path), dir);
            EXPECT_EQ(result.status, 0) << path << "\n" << result.out;
            EXPECT_EQ(result.out + result.err, "") << path;
        }
    }
}

TEST(ZvtrackCheckProgram, FindingsGoToStdoutWithStatus1AndTheFileIsUnchanged) {
    ScratchDir dir;
    auto track = zvtest::demoTrack();
    track->tubeLength += 1;
    const std::string path = dir.file("damaged.zvtrack");
    zvtest::saveTrack(path, track.get());
    const std::string before = zvtest::readFile(path);
    RunResult result = zvtrack("check " + quoted(path), dir);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "TUBE: length word 41, but its contents take 40\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(zvtest::readFile(path), before);
}

TEST(ZvtrackInfo, SummarisesTheDemoTrack) {
    ScratchDir dir;
    const std::string path = dir.file("demo.zvtrack");
    ASSERT_EQ(zvtrack("demo " + quoted(path), dir).status, 0);
    RunResult result = zvtrack("info " + quoted(path), dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.out, HasSubstr("Version: 1.6.0.0\n"));
    EXPECT_THAT(result.out, HasSubstr("Coaster style: 1\n"));
    EXPECT_THAT(result.out, HasSubstr("Beziers: 10\n"));
    EXPECT_THAT(result.out, HasSubstr("Segments: 10 (closed circuit)\n"
                                      "  by type: plain 7, station 1, lift 1, transport 0, brake 1\n"));
    EXPECT_THAT(result.out, HasSubstr("Markers: 34\n  by node type: 2: 13, 3: 2, 6: 7, 7: 12\n"));
    EXPECT_THAT(result.out, HasSubstr("Foundation nodes: 0\nFree nodes: 0\nTubes: 0\n"));
    EXPECT_THAT(result.out, HasSubstr("Terrain: none\n"));
    EXPECT_THAT(result.out, HasSubstr(std::string("Author comments: ") + kDemoTrackComments));
}

TEST(ZvtrackUsage, HelpAndUsageErrors) {
    ScratchDir dir;
    for (const char* arguments : {"--help", "-h", "--bogus --he"}) {
        RunResult help = zvtrack(arguments, dir);
        EXPECT_EQ(help.status, 0) << arguments;
        EXPECT_THAT(help.out, StartsWith("Usage: zvtrack COMMAND FILE")) << arguments;
        EXPECT_EQ(help.err, "");
    }
    for (const char* arguments : {"--version", "-V"}) {
        RunResult version = zvtrack(arguments, dir);
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, std::string("zvtrack ") + STRUTWRIGHT_VERSION + "\n");
    }
    const std::pair<const char*, const char*> commandHelp[] = {
        {"dump --help", "Usage: zvtrack dump FILE\nPrints every field"},
        {"-h new", "Usage: zvtrack new [--force] FILE\nWrites a new, empty track"},
        {"check x.zvtrack --help", "Usage: zvtrack check FILE\nPrints one line"}};
    for (const auto& [arguments, start] : commandHelp) {
        RunResult help = zvtrack(arguments, dir);
        EXPECT_EQ(help.status, 0) << arguments;
        EXPECT_THAT(help.out, StartsWith(start)) << arguments;
    }
    const std::pair<const char*, std::string> errors[] = {
        {"", "expected a command and a file"},
        {"info", "expected a command and a file"},
        {"frobnicate x.zvtrack", "unknown command 'frobnicate'"},
        {"info a b", "too many arguments"},
        {"dump ''", "empty file name"},
        {"info --force x.zvtrack", "--force applies to new, demo and place only"},
        {"info -x x.zvtrack", "unknown option '-x'"},
        {"--force=yes new x.zvtrack", "--force takes no value"},
    };
    for (const auto& [arguments, problem] : errors) {
        RunResult result = zvtrack(arguments, dir);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.err, "zvtrack: " + problem + "\nTry 'zvtrack --help' for more information.\n");
        EXPECT_EQ(result.out, "") << arguments;
    }
}

TEST(ZvtrackUsage, OptionsMayStandAnywhere) {
    ScratchDir dir;
    const std::string path = dir.file("demo.zvtrack");
    ASSERT_EQ(zvtrack("demo " + quoted(path), dir).status, 0);
    for (const std::string& arguments : {"--force demo " + quoted(path), "demo " + quoted(path) + " -f",
                                         "demo --fo -- " + quoted(path)}) {
        RunResult result = zvtrack(arguments, dir);
        EXPECT_EQ(result.status, 0) << arguments << result.err;
    }
}

TEST(ZvtrackUsage, FilesThatDoNotLoadOrCannotBeWritten) {
    ScratchDir dir;
    const std::string missing = dir.file("missing.zvtrack");
    const std::string garbage = dir.file("garbage.zvtrack");
    std::ofstream(garbage) << "this is not a track at all";
    for (const char* command : {"info", "dump", "check"}) {
        for (const std::string& path : {missing, garbage}) {
            RunResult result = zvtrack(std::string(command) + " " + quoted(path), dir);
            EXPECT_EQ(result.status, 2) << command << " " << path;
            EXPECT_THAT(result.err, StartsWith("zvtrack: " + path + ": "));
            EXPECT_EQ(result.err.find(path, 10), std::string::npos) << "file named twice";
            EXPECT_EQ(result.out, "");
        }
    }
    const std::string unwritable = dir.file("no-such-dir/new.zvtrack");
    RunResult result = zvtrack("new " + quoted(unwritable), dir);
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err, StartsWith("zvtrack: " + unwritable + ": "));
}

TEST(ZvtrackFiles, NewAndDemoReplaceAnExistingFileOnlyWhenForced) {
    ScratchDir dir;
    const std::string path = dir.file("mine.zvtrack");
    std::ofstream(path) << "the author's own track";
    for (const char* command : {"new", "demo"}) {
        RunResult refused = zvtrack(std::string(command) + " " + quoted(path), dir);
        EXPECT_EQ(refused.status, 2) << command;
        EXPECT_EQ(refused.err, "zvtrack: " + path + ": already exists; use --force to replace it\n");
        EXPECT_EQ(zvtest::readFile(path), "the author's own track");
    }
    RunResult forced = zvtrack("demo --force " + quoted(path), dir);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(zvtest::readFile(path), savedBytes(zvtest::demoTrack().get(), dir));
}

// An output that could not be written even with --force is told as such,
// without asking for --force first; every writing command checks it.
TEST(ZvtrackFiles, OutputsThatCannotBeWrittenAreRefusedBeforeAskingForForce) {
    ScratchDir dir;
    const std::string input = dir.file("demo.zvtrack");
    zvtest::saveTrack(input, zvtest::demoTrack().get());
    const std::string link = dir.file("null.zvtrack");
    ASSERT_EQ(symlink("/dev/null", link.c_str()), 0);
    const std::pair<std::string, std::string> outputs[] = {
        {"/dev/null", "zvtrack: /dev/null: not a regular file\n"},
        {link, "zvtrack: " + link + ": not a regular file (a link to /dev/null)\n"},
    };
    for (const auto& [output, message] : outputs) {
        for (const std::string& command : {"new " + quoted(output), "demo " + quoted(output),
                                           "place " + quoted(input) + " " + quoted(output)}) {
            SCOPED_TRACE(command);
            const RunResult refused = zvtrack(command, dir);
            EXPECT_EQ(refused.status, 2);
            EXPECT_EQ(refused.err, message);
        }
    }
    EXPECT_EQ(zvtest::fs::read_symlink(link), "/dev/null");
}

// A listing whose reader has gone ends quietly, the way the standard tools'
// listings do, even when zvtrack was started with SIGPIPE ignored.
TEST(ZvtrackFiles, AListingIntoAClosedPipeEndsQuietly) {
    ScratchDir dir;
    const std::string path = dir.file("demo.zvtrack");
    zvtest::saveTrack(path, zvtest::demoTrack().get());
    for (const char* command : {"dump", "info"}) {
        for (bool sigpipeIgnored : {false, true}) {
            SCOPED_TRACE(std::string(command) + (sigpipeIgnored ? ", SIGPIPE ignored" : ""));
            const int status =
                apptest::runIntoClosedPipe({kZvtrack, command, path}, dir.file("err"), sigpipeIgnored, 60.0);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
            EXPECT_EQ(zvtest::readFile(dir.file("err")), "");
        }
    }
}

TEST(ZvtrackFiles, OutputThatCannotBeWrittenIsAFailure) {
    ScratchDir dir;
    auto track = zvtest::demoTrack();
    track->tubeLength += 1;  // a finding for check to print
    const std::string path = dir.file("demo.zvtrack");
    zvtest::saveTrack(path, track.get());
    for (const char* command : {"dump", "info", "check"}) {
        RunResult full =
            zvtest::run("(" + kZvtrack + " " + command + " " + quoted(path) + " >/dev/full)", dir);
        EXPECT_EQ(full.status, 2) << command;
        EXPECT_THAT(full.err, StartsWith("zvtrack: cannot write the standard output: ")) << command;
    }
    // A disk that fills up in the middle of a dump: a file size limit.
    RunResult cut = zvtest::run("(ulimit -f 4; trap '' XFSZ; " + kZvtrack + " dump " + quoted(path) +
                                    " >" + quoted(dir.file("dump.json")) + ")",
                                dir);
    EXPECT_EQ(cut.status, 2);
    EXPECT_EQ(cut.err, "zvtrack: cannot write the standard output: a write failed\n");
}

TEST(ZvtrackFiles, SpecialFilesAreRefusedAndStrayBytesTold) {
    ScratchDir dir;
    const std::string fifo = dir.file("pipe.zvtrack");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    RunResult piped = zvtest::run("timeout 20 " + kZvtrack + " info " + quoted(fifo), dir);
    EXPECT_EQ(piped.status, 2) << "124 means the program hung";
    EXPECT_EQ(piped.err, "zvtrack: " + fifo + ": not a regular file (a FIFO)\n");

    const std::string stray = dir.file("stray.zvtrack");
    zvtest::saveTrack(stray, zvtest::newTrack().get());
    std::ofstream(stray, std::ios::app) << "xy";
    RunResult told = zvtrack("check " + quoted(stray), dir);
    EXPECT_EQ(told.status, 0);
    EXPECT_EQ(told.err, "zvtrack: " + stray + ": 2 stray bytes at byte 1685 after the last chunk ignored\n");
}

// Peak memory of one run of a shell command line, in bytes.
size_t peakMemory(const std::string& commandLine) {
    pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", ("exec " + commandLine).c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    struct rusage usage = {};
    wait4(child, &status, 0, &usage);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << commandLine;
    return static_cast<size_t>(usage.ru_maxrss) * 1024;
}

// The load holds at most 8 times the file plus the terrain grid and 64 KB;
// reading and printing the whole track may add a few MB, never a multiple.
TEST(ZvtrackFiles, CheckAndDumpStayWithinTheLoadsMemoryBound) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers' own memory hides the program's";
#endif
    ScratchDir dir;
    const std::string input = dir.file("circuit.zvtrack");
    ZvTrack circuit = syntheticTrack(20000);
    zvtest::saveTrack(input, &circuit);
    const std::string path = generate(input, dir);
    const size_t fileSize = zvtest::readFile(path).size();
    constexpr size_t kTerrainGrid = size_t{kTerrainMaxRows} * kTerrainMaxColumns * sizeof(float);
    constexpr size_t kFewMegabytes = size_t{8} << 20;
    const size_t bound = 8 * fileSize + kTerrainGrid + (64 << 10) + kFewMegabytes;
    for (const char* command : {"check", "dump"}) {
        const size_t peak = peakMemory(kZvtrack + " " + command + " " + quoted(path) + " >/dev/null");
        EXPECT_LE(peak, bound) << command << " on a file of " << fileSize << " bytes";
    }
    // Less room than the track needs: told with the file, never an abort.
    const std::string limited = "(ulimit -v 16000; exec " + kZvtrack + " dump ";
    EXPECT_EQ(zvtest::run(limited + quoted(input) + ")", dir).status, 0)
        << "the limit must leave room for a small track";
    RunResult cramped = zvtest::run(limited + quoted(path) + ")", dir);
    EXPECT_EQ(cramped.status, 2);
    EXPECT_EQ(cramped.err, "zvtrack: " + path + ": out of memory\n");
}
