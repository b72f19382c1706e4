// The strutwright program run for real: output file, banner, stdout, exit
// status and messages of every way a run can end without a window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "app_fixtures.h"
#include "reportLines.h"

namespace fs = std::filesystem;
using namespace apptest;

namespace {

const std::string kBanner = "--- QTR V1.0 pre-beta ---\r\n";
const std::string kEntryIndices = "0\n1\n";

std::string commentsOf(const std::string& path) {
    ZvTrack track;
    loadTrack(path, &track);
    return authorCommentsText(&track);
}

// A saved sample track with these author comments (any bytes); returns its path.
std::string writeSample(const std::string& dir, const std::string& comments) {
    ZvTrack track;
    buildStraightTrack(&track);
    setOwnedAuthorComments(comments, &track);
    std::string path = dir + "/ride.zvtrack";
    saveTrack(path, &track);
    return path;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(DriverBatch, WritesOutputBesideInputWithBannerAndLeavesInputAlone) {
    std::string dir = scratchDir("driver-output");
    std::string input = writeSample(dir, "Built by hand.\r\nSecond line.");
    std::string before = readFile(input);

    ProgramRun run = runProgram({"--no-view", input});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, kEntryIndices);
    std::string output = input + "-new.zvtrack";
    EXPECT_EQ(run.err, "strutwright: " + input + ": 2 markers found\n"
                       "strutwright:   built: 2 columns\n"
                       "strutwright:   kept: none\n"
                       "strutwright:   added: 10 free nodes, 2 foundations, 6 tubes\n"
                       "strutwright:   clearance: none within 1.5\n"
                       "strutwright: wrote " + output + "\n");

    ASSERT_TRUE(fileExists(output));
    EXPECT_EQ(readFile(input), before);
    EXPECT_EQ(commentsOf(output), kBanner + "Built by hand.\r\nSecond line.");

    ZvTrack generated;
    loadTrack(output, &generated);
    EXPECT_EQ(getTotalTrackNodes(0, &generated) + getTotalTrackNodes(1, &generated), 0);
    EXPECT_GT(getTotalSupport(&generated), 0);
    EXPECT_EQ(fs::directory_iterator(dir) == fs::directory_iterator(), false);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
        << "only the input and the output may be left in the folder";
}

TEST(DriverBatch, ProcessingTheOutputAgainAddsASecondBanner) {
    std::string dir = scratchDir("driver-twice");
    std::string input = writeSample(dir, "Old text");
    ASSERT_EQ(runProgram({"--no-view", input}).exitStatus, 0);
    std::string first = input + "-new.zvtrack";
    ProgramRun again = runProgram({"--no-view", first});
    EXPECT_EQ(again.exitStatus, 0) << again.err;
    EXPECT_EQ(again.out, kEntryIndices);
    EXPECT_EQ(commentsOf(first + "-new.zvtrack"), kBanner + kBanner + "Old text");
}

TEST(DriverBatch, CommentBytesAfterANulByteAreKept) {
    std::string dir = scratchDir("driver-nul-comment");
    const std::string comments("line one\0line two\xff", 18);
    std::string input = writeSample(dir, comments);
    ASSERT_EQ(runProgram({"--no-view", input}).exitStatus, 0);
    EXPECT_EQ(commentsOf(input + "-new.zvtrack"), kBanner + comments);
}

TEST(DriverBatch, EmptyCommentGivesTheBannerLineAlone) {
    std::string dir = scratchDir("driver-empty-comment");
    std::string input = writeSample(dir, "");
    ASSERT_EQ(runProgram({"--no-view", input}).exitStatus, 0);
    EXPECT_EQ(commentsOf(input + "-new.zvtrack"), kBanner);
}

TEST(DriverCommandLine, HelpVersionAndUsageErrors) {
    for (const char* option : {"--help", "-h", "--he"}) {
        ProgramRun help = runProgram({"--frobnicate", option});
        EXPECT_EQ(help.exitStatus, 0) << option;
        EXPECT_EQ(help.out.rfind("Usage: strutwright", 0), 0u) << help.out;
        EXPECT_TRUE(contains(help.out, "(0\nand 1), kept for scripts that read them")) << help.out;
        EXPECT_EQ(help.err, "");
    }
    for (const char* option : {"--version", "-V"}) {
        ProgramRun version = runProgram({option});
        EXPECT_EQ(version.exitStatus, 0);
        EXPECT_EQ(version.out, std::string("strutwright ") + STRUTWRIGHT_VERSION + "\n");
    }

    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "strutwright: no track file given\n"},
        {{"--no-view"}, "strutwright: no track file given\n"},
        {{"--frobnicate", "x.zvtrack"}, "strutwright: unknown option '--frobnicate'\n"},
        {{"a.zvtrack", "b.zvtrack"}, "strutwright: unexpected argument 'b.zvtrack'\n"},
        {{"x.zvtrack", "--screenshot"}, "strutwright: --screenshot needs a value\n"},
        {{"x.zvtrack", "-display"}, "strutwright: -display needs a value\n"},
        {{"-x", "x.zvtrack"}, "strutwright: unknown option '-x'\n"},
        {{"--no-view=yes", "x.zvtrack"}, "strutwright: --no-view takes no value\n"},
        {{"--v", "x.zvtrack"}, "strutwright: option '--v' is ambiguous: --version, --view, --verbose\n"},
        {{"x.zvtrack", "-qo"}, "strutwright: -o needs a value\n"},
        {{"--output=", "x.zvtrack"}, "strutwright: --output needs a file name\n"},
        {{"--view=round", "x.zvtrack"}, "strutwright: --view takes flat or solid, not 'round'\n"},
    };
    for (const Case& c : cases) {
        ProgramRun run = runProgram(c.args);
        EXPECT_EQ(run.exitStatus, 2) << c.message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.message + "Try 'strutwright --help' for more information.\n");
    }
}

TEST(DriverErrors, UnloadableInputsEndWithStatusOneAndNoOutput) {
    std::string dir = scratchDir("driver-bad-inputs");
    ZvTrack track;
    buildStraightTrack(&track);
    saveTrack(dir + "/whole.zvtrack", &track);
    std::string whole = readFile(dir + "/whole.zvtrack");
    writeBytes(dir + "/truncated.zvtrack", whole.substr(0, whole.size() / 2));
    writeBytes(dir + "/empty.zvtrack", "");
    writeBytes(dir + "/notes.zvtrack", "These are my notes, not a track.\n");
    writeBytes(dir + "/keyed.zvtrack", "Our TUBE chunk comes last.\n");
    fs::create_directory(dir + "/folder.zvtrack");

    struct Case {
        std::string name;
        std::string reason;  // what the message must say after the path
    } cases[] = {
        {"missing.zvtrack", ": cannot open: No such file or directory"},
        {"truncated.zvtrack", ": chunk \"TRCK\" at byte "},
        {"empty.zvtrack", ": not a track file: no track data found"},
        {"notes.zvtrack", ": not a track file: no track data found"},
        {"keyed.zvtrack", ": not a track file (it does not begin with \"ZORV\"): chunk \"TUBE\" at byte 4: "},
        {"folder.zvtrack", ": not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir + "/" + c.name;
        ProgramRun run = runProgram({"--no-view", path});
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("strutwright: " + path + c.reason, 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_FALSE(fileExists(path + "-new.zvtrack"));
    }
}

// A failed save is the last thing said, and a track that was not saved is
// not shown: without a display there is not even the note that says so.
TEST(DriverErrors, AFailedSaveIsSaidLastAndEndsTheRunWithStatusOne) {
    std::string dir = scratchDir("driver-failed-save");
    std::string input = writeSample(dir, "text");
    const std::string output = dir + "/missing/ride.zvtrack";
    const std::string summary = "strutwright: " + input + ": 2 markers found\n"
                                "strutwright:   built: 2 columns\n"
                                "strutwright:   kept: none\n"
                                "strutwright:   added: 10 free nodes, 2 foundations, 6 tubes\n"
                                "strutwright:   clearance: none within 1.5\n";
    const std::string failure =
        "strutwright: cannot write " + output + ": cannot create a file beside it: No such file or directory\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--no-view", "-o", output, input},
                                                 std::vector<std::string>{"-o", output, input}}) {
        ProgramRun run = runProgram(args);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, kEntryIndices);
        EXPECT_EQ(run.err, summary + failure);
    }
    ProgramRun quiet = runProgram({"-q", "-o", output, input});
    EXPECT_EQ(quiet.exitStatus, 1);
    EXPECT_EQ(quiet.err, failure);
}

TEST(DriverNoDisplay, ViewerIsSkippedAfterTheOutputIsWritten) {
    std::string dir = scratchDir("driver-no-display");
    std::string input = writeSample(dir, "text");

    ProgramRun run = runProgram({input});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, kEntryIndices);
    EXPECT_EQ(linesStartingWith(run.err, "strutwright: ").back(),
              "strutwright: no display (DISPLAY is not set): viewer skipped");
    EXPECT_TRUE(fileExists(input + "-new.zvtrack"));

    fs::remove(input + "-new.zvtrack");
    ProgramRun quiet = runProgram({"-q", input});
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_EQ(quiet.err, "") << "the note is no warning";
    EXPECT_TRUE(fileExists(input + "-new.zvtrack"));

    ProgramRun named = runProgram({"-display", ":4093", input});
    EXPECT_EQ(named.exitStatus, 0);
    EXPECT_EQ(linesStartingWith(named.err, "strutwright: ").back(),
              "strutwright: no display (cannot open display \":4093\"): viewer skipped");
}

TEST(DriverNoDisplay, ScreenshotWithoutDisplayFails) {
    std::string dir = scratchDir("driver-no-display-shot");
    std::string input = writeSample(dir, "text");
    std::string picture = dir + "/view.png";
    ProgramRun run = runProgram({"--screenshot", picture, input});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("strutwright: no display (DISPLAY is not set)"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(picture), std::string::npos) << run.err;
    EXPECT_FALSE(fileExists(picture));
    EXPECT_TRUE(fileExists(input + "-new.zvtrack"));
}

}  // namespace

namespace {

// A copy of the example track in a scratch folder.
std::string demoTrackIn(const std::string& dir) {
    std::string path = dir + "/demo.zvtrack";
    fs::copy_file(std::string(SW_SOURCE_DIR) + "/examples/demo.zvtrack", path);
    return path;
}

TEST(DriverSummary, TellsWhatBecameOfEveryMarkerAndWhereTheFileWent) {
    std::string dir = scratchDir("driver-summary");
    std::string input = demoTrackIn(dir);
    ProgramRun run = runProgram({"--no-view", input});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, kEntryIndices);
    EXPECT_EQ(run.err, "strutwright: " + input + ": 34 markers found\n"
                       "strutwright:   built: 13 columns, 12 braced legs, 7 crossbeams, 2 struts only\n"
                       "strutwright:   kept: none\n"
                       "strutwright:   added: 328 free nodes, 44 foundations, 189 tubes\n"
                       "strutwright:   clearance: none within 1.5\n"
                       "strutwright: wrote " + input + "-new.zvtrack\n");
}

TEST(DriverSummary, KeptMarkersAreCountedByReasonAndQuietLeavesOnlyTheWarnings) {
    std::string dir = scratchDir("driver-summary-kept");
    ZvTrack track;
    buildStraightTrack(&track);
    addTrackNode(0, kMarkerCrossbeam, 1.5f, &track);              // out of range
    addSupport(kEndTrackNode, 0, 1, kEndFundNode, 0, 0, 1, 0, 0, &track);  // an attachment point
    std::string input = dir + "/ride.zvtrack";
    saveTrack(input, &track);
    const std::string warnings =
        "strutwright: " + input + ": tubeArray[0]: end 2 names foundation node 0, but the track "
        "has 0 foundation nodes\n"
        "strutwright: " + input + ": segment 0: the marker at 1.5 lies outside 0..1 along it; it was left in place\n";

    ProgramRun run = runProgram({"--no-view", input});
    EXPECT_EQ(run.out, kEntryIndices);
    EXPECT_EQ(run.err, warnings + "strutwright: " + input + ": 3 markers found\n"
                       "strutwright:   built: 1 column\n"
                       "strutwright:   kept: 1 attachment point, 1 out of range\n"
                       "strutwright:   added: 5 free nodes, 1 foundation, 3 tubes\n"
                       "strutwright:   clearance: none within 1.5\n"
                       "strutwright: wrote " + input + "-new.zvtrack\n");

    ProgramRun quiet = runProgram({"--no-view", "--quiet", input});
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_EQ(quiet.out, kEntryIndices);
    EXPECT_EQ(quiet.err, warnings);

    std::string clean = writeSample(dir, "text");
    ProgramRun silent = runProgram({"-q", "--no-view", clean});
    EXPECT_EQ(silent.exitStatus, 0);
    EXPECT_EQ(silent.out, kEntryIndices);
    EXPECT_EQ(silent.err, "") << "-q is silent on success";
}

// Each kind is counted apart, lines without a kind always show, and the
// count of the rest stands where the kind's last line would have.
TEST(DriverSummary, LinesOfOneKindPastTheCapAreCountedWhereTheKindEnds) {
    const std::vector<ReportLine> lines = {{"clearance", "c1"}, {"", "summary"}, {"left out", "l1"},
                                           {"clearance", "c2"}, {"clearance", "c3"}, {"left out", "l2"},
                                           {"clearance", "c4"}, {"", "wrote"}};
    EXPECT_EQ(capLines(lines, 2, "t.zvtrack"),
              (std::vector<std::string>{"c1", "summary", "l1", "c2", "l2",
                                        "t.zvtrack: ... and 2 more clearance lines (--verbose prints them all)",
                                        "wrote"}));
    EXPECT_EQ(capLines(lines, 4, "t.zvtrack").size(), lines.size()) << "a kind that fits has no count";
}

TEST(DriverSummary, TracksWithoutMarkersAndTracksProcessedBeforeGetANote) {
    std::string dir = scratchDir("driver-notes");
    ZvTrack bare;
    buildStraightTrack(&bare, 0);
    std::string input = dir + "/bare.zvtrack";
    saveTrack(input, &bare);
    ProgramRun run = runProgram({"--no-view", input});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, kEntryIndices);
    EXPECT_EQ(run.err, "strutwright: " + input + ": no markers: nothing to build (try --place 8 to place them)\n"
                       "strutwright: wrote " + input + "-new.zvtrack\n");

    std::string output = input + "-new.zvtrack";
    ProgramRun again = runProgram({"--no-view", output});
    EXPECT_EQ(again.exitStatus, 0);
    EXPECT_EQ(again.out, kEntryIndices);
    EXPECT_EQ(again.err, "strutwright: " + output + ": already processed by strutwright (its "
                         "comments begin with the banner)\n"
                         "strutwright: " + output + ": no markers: nothing to build (try --place 8 to place them)\n"
                         "strutwright: wrote " + output + "-new.zvtrack\n");
    EXPECT_EQ(commentsOf(output + "-new.zvtrack"), kBanner + kBanner + kNewTrackComments);
}

TEST(DriverOptions, OutputGoesWhereItIsAskedAndOptionsFollowTheConventions) {
    std::string dir = scratchDir("driver-output-option");
    std::string input = writeSample(dir, "text");
    fs::create_directory(dir + "/results");
    const struct {
        std::vector<std::string> args;
        std::string output;
    } cases[] = {
        {{"--no-view", "-o", dir + "/results/a.zvtrack", input}, dir + "/results/a.zvtrack"},
        {{"--output=" + dir + "/results/b.zvtrack", input, "--no-view"}, dir + "/results/b.zvtrack"},
        {{"--no-v", "--out", dir + "/results/c.zvtrack", input}, dir + "/results/c.zvtrack"},
        {{"-qo" + dir + "/results/d.zvtrack", "--no-view", input}, dir + "/results/d.zvtrack"},
    };
    for (const auto& c : cases) {
        ProgramRun run = runProgram(c.args);
        EXPECT_EQ(run.exitStatus, 0) << c.output << run.err;
        EXPECT_EQ(run.out, kEntryIndices);
        EXPECT_EQ(commentsOf(c.output), kBanner + "text");
    }
    EXPECT_FALSE(fileExists(input + "-new.zvtrack")) << "-o replaces the default output";

    // After "--" a word that looks like an option is the track.
    std::string dashed = dir + "/-dashed.zvtrack";
    fs::copy_file(input, dashed);
    std::string ignored;
    EXPECT_EQ(runCommand("cd '" + dir + "' && " + STRUTWRIGHT_EXE + " --no-view -q -- -dashed.zvtrack",
                         &ignored), 0);
    EXPECT_TRUE(fileExists(dashed + "-new.zvtrack"));

    ProgramRun itself = runProgram({"--no-view", "-o", input, input});
    EXPECT_EQ(itself.exitStatus, 2);
    EXPECT_EQ(itself.out, "");
    EXPECT_EQ(itself.err, "strutwright: the output '" + input + "' is the track file itself\n"
                          "Try 'strutwright --help' for more information.\n");
}

// The toolkit's options are whole words: "-sync" is not the letters s, y, n, c.
TEST(DriverOptions, WindowToolkitOptionsPassAsWholeWords) {
    std::string dir = scratchDir("driver-toolkit-options");
    std::string input = writeSample(dir, "text");
    ProgramRun run = runProgram({"-sync", "-iconic", "-q", "-geometry", "300x200", input});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, kEntryIndices);
    EXPECT_EQ(run.err, "");
}

// A word that looks like a window option is one only where an option may
// stand: as another option's value, or after "--", it is that value or the track.
TEST(DriverOptions, WindowOptionWordsAsValuesAreValues) {
    std::string dir = scratchDir("driver-window-option-values");
    writeSample(dir, "text");
    fs::copy_file(dir + "/ride.zvtrack", dir + "/-gldebug");
    std::string out;
    for (const char* args : {"-o -sync ride.zvtrack", "-qo -iconic ride.zvtrack -sync",
                             "--keys -iconic --out -geometry ride.zvtrack", "-o x -- -gldebug"}) {
        EXPECT_EQ(runCommand("cd '" + dir + "' && " + STRUTWRIGHT_EXE + " --no-view -q " + args +
                                 " 2>&1",
                             &out),
                  0)
            << args << ": " << out;
    }
    for (const char* output : {"-sync", "-iconic", "-geometry", "x"}) {
        EXPECT_TRUE(fileExists(dir + "/" + output)) << output;
    }
    ProgramRun last = runProgram({"--no-view", dir + "/ride.zvtrack", "-geometry"});
    EXPECT_EQ(last.exitStatus, 2);
    EXPECT_EQ(last.err, "strutwright: -geometry needs a value\n"
                        "Try 'strutwright --help' for more information.\n");
}

// The lines of `text`, without their newlines.
std::vector<std::string> linesOf(const std::string& text) { return linesStartingWith(text, ""); }

// A warning of each kind the run gives: the file's two stray bytes, a tube
// naming a free node the track lacks, a marker past its segment's end, one at
// a position that is not a number, one on a segment without a curve, and a
// braced leg whose brace angle (90 degrees) is horizontal. With -q, each line
// is a warning that begins with the program and the file.
TEST(DriverWarnings, EveryWarningNamesTheProgramAndTheFile) {
    ZvTrack track;
    buildStraightTrack(&track);
    addSupport(kEndFreeNode, 5, 0, kEndFreeNode, 6, 0, 1, 0, 0, &track);
    addTrackNode(0, kMarkerColumn, 1.5f, &track);
    addTrackNode(0, kMarkerColumn, std::numeric_limits<float>::quiet_NaN(), &track);
    track.segmentArray[1].color3 = createColorARGB(255, 255, 0, 90);
    addTrackNode(1, kMarkerBracedLeg, 0.25f, &track);
    addSegment(kSegmentPlain, 3, 0, Color{}, Color{}, Color{}, 0, 0, &track);
    addTrackNode(2, kMarkerColumn, 0.5f, &track);
    const std::string input = scratchDir("driver-every-warning") + "/ride.zvtrack";
    saveTrack(input, &track);
    const size_t size = readFile(input).size();
    writeBytes(input, readFile(input) + "!!");

    const ProgramRun run = runProgram({"-q", "--no-view", input});
    EXPECT_EQ(run.exitStatus, 0);
    const std::string named = "strutwright: " + input + ": ";
    EXPECT_EQ(linesOf(run.err),
              (std::vector<std::string>{
                  named + "2 stray bytes at byte " + std::to_string(size) + " after the last chunk ignored",
                  named + "tubeArray[0]: end 1 names free node 5, but the track has 0 free nodes; end 2 names "
                          "free node 6, but the track has 0 free nodes",
                  named + "segment 0: the marker at 1.5 lies outside 0..1 along it; it was left in place",
                  named + "segment 0: the marker at nan along it gives non-finite coordinates; it was left in place",
                  named + "brace angle 90 degrees is nearly horizontal; braced legs stand far from their columns",
                  named + "segment 2 has no curve; its marker was left in place",
              }));
}

// Each kind of warning is capped on its own: 25 markers past their segment's
// end, 25 markers on a segment whose curve is not finite, 22 segments without
// a curve, each with a marker.
TEST(DriverWarnings, EachKindIsCappedApartAndVerbosePrintsThemAll) {
    ZvTrack track;
    buildStraightTrack(&track, 0);
    track.bezierArray[2].controlIn.y = std::numeric_limits<float>::quiet_NaN();
    for (int k = 1; k <= 25; ++k) {
        addTrackNode(0, kMarkerColumn, 1.0f + static_cast<float>(k) / 100, &track);
        addTrackNode(1, kMarkerColumn, static_cast<float>(k) / 100, &track);
    }
    for (int s = 2; s < 24; ++s) {
        addSegment(kSegmentPlain, s + 1, 0, Color{}, Color{}, Color{}, 0, 0, &track);
        addTrackNode(s, kMarkerColumn, 0.5f, &track);
    }
    const std::string input = scratchDir("driver-capped-kinds") + "/ride.zvtrack";
    saveTrack(input, &track);
    const std::string named = "strutwright: " + input + ": segment ";

    const ProgramRun verbose = runProgram({"-q", "--verbose", "--no-view", input});
    EXPECT_EQ(linesStartingWith(verbose.err, named).size(), 25u + 25u + 22u);
    EXPECT_FALSE(contains(verbose.err, " more ")) << verbose.err;

    const ProgramRun capped = runProgram({"-q", "--no-view", input});
    EXPECT_EQ(linesStartingWith(capped.err, named).size(), 3 * kLinesPerKind);
    for (const char* rest : {"5 more out of range", "5 more not finite", "2 more without a curve"}) {
        EXPECT_TRUE(contains(capped.err, "strutwright: " + input + ": ... and " + rest +
                                             " lines (--verbose prints them all)\n"))
            << capped.err;
    }
    EXPECT_EQ(linesOf(capped.err).size(), 3 * kLinesPerKind + 3);
}

}  // namespace
