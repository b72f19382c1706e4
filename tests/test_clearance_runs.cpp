// The clearance check as an author meets it: strutwright's warnings and
// summary line, and `zvtrack clearance` on the file it wrote, for a straight
// at height 20 crossing 15 above a lower one with a column marker right above
// the crossing, the lower straight moved aside, a third straight between
// them, and the demo track.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_fixtures.h"
#include "generator_fixtures.h"
#include "reportLines.h"
#include "syntheticTrack.h"

namespace fs = std::filesystem;
using namespace apptest;

namespace {

// What a clearance warning of `input` begins with.
std::string warningStart(const std::string& input) { return "strutwright: " + input + ": clearance: "; }

// The crossing with the lower straight `aside` from below the column marker,
// saved in a scratch folder; returns its path.
std::string crossingFile(const std::string& name, float aside) {
    ZvTrack track = genfix::crossingTrack(aside);
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    std::string path = scratchDir(name) + "/crossing.zvtrack";
    saveTrack(path, &track);
    return path;
}

TEST(ClearanceRuns, AColumnThroughTheTrackBelowIsReportedByBothPrograms) {
    const std::string input = crossingFile("clearance-crossing", 0);
    const std::string output = input + "-new.zvtrack";
    const ProgramRun run = runProgram({"--no-view", input});
    EXPECT_EQ(run.exitStatus, 0) << "a warning, not a failure";
    EXPECT_EQ(run.out, "0\n1\n");
    EXPECT_EQ(run.err,
              "strutwright: " + input + ": clearance: column of the type-2 marker at 0.50 on segment 0 passes 0.00 "
              "from segment 2 at (0.0, 5.0, 0.0)\n"
              "strutwright: " + input + ": 1 marker found\n"
              "strutwright:   built: 1 column\n"
              "strutwright:   kept: none\n"
              "strutwright:   added: 5 free nodes, 1 foundation, 3 tubes\n"
              "strutwright:   clearance: 1 structure comes within 1.5 of the track\n"
              "strutwright: wrote " + output + "\n");

    // The column is the structure's second tube, from the collar to the ground.
    const ProgramRun check = runZvtrack({"clearance", output});
    EXPECT_EQ(check.exitStatus, 1);
    EXPECT_EQ(check.out, "tubeArray[1]: (0.00, 18.70, 0.00) to (0.00, 0.00, 0.00) passes 0.00 from "
                         "segment 2 at (0.00, 5.00, 0.00)\n");
    EXPECT_EQ(check.err, "");

    // Turned off: no warning, no summary line, nothing found.
    const ProgramRun off = runProgram({"--no-view", "--clearance=0", input});
    EXPECT_EQ(off.exitStatus, 0);
    EXPECT_FALSE(contains(off.err, "clearance:")) << off.err;
    const ProgramRun offCheck = runZvtrack({"clearance", "--clearance", "0", output});
    EXPECT_EQ(offCheck.exitStatus, 0);
    EXPECT_EQ(offCheck.out, "");
}

// Between the column and the straight it passes through, a middle straight
// runs 1 beside it: both programs name the pass met first going down.
TEST(ClearanceRuns, BothProgramsNameTheFirstConflictGoingDown) {
    ZvTrack track = genfix::twoLevelCrossing();
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    const std::string input = scratchDir("clearance-two-levels") + "/two-levels.zvtrack";
    saveTrack(input, &track);
    const ProgramRun run = runProgram({"--no-view", "-q", input});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "strutwright: " + input + ": clearance: column of the type-2 marker at 0.50 on segment 0 "
                       "passes 1.00 from segment 2 at (0.0, 12.0, 0.0)\n");
    const ProgramRun check = runZvtrack({"clearance", input + "-new.zvtrack"});
    EXPECT_EQ(check.exitStatus, 1);
    EXPECT_EQ(check.out, "tubeArray[1]: (0.00, 18.70, 0.00) to (0.00, 0.00, 0.00) passes 1.00 from segment 2 at "
                         "(0.00, 12.00, 0.00)\n");
}

TEST(ClearanceRuns, TheRadiusDecidesHowFarAsideTheLowerTrackIsClear) {
    const struct {
        float aside;
        const char* radius;
        bool reported;
    } cases[] = {{15, "1.5", false}, {15, "6", false}, {5, "1.5", false}, {5, "6", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.aside) + " aside, radius " + c.radius);
        const std::string input = crossingFile("clearance-aside", c.aside);
        const ProgramRun run = runProgram({"--no-view", "--clearance", c.radius, input});
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(contains(run.err, warningStart(input)), c.reported) << run.err;
        const std::string count = c.reported ? "1 structure comes within 6 of the track"
                                             : std::string("none within ") + c.radius;
        EXPECT_TRUE(contains(run.err, "strutwright:   clearance: " + count + "\n")) << run.err;
        if (c.reported) {
            EXPECT_TRUE(contains(run.err, "on segment 0 passes 5.00 from segment 2 at (0.0, 5.0, 0.0)\n"))
                << run.err;
        }
        const ProgramRun check = runZvtrack({"clearance", "--clearance=" + std::string(c.radius),
                                             input + "-new.zvtrack"});
        EXPECT_EQ(check.exitStatus, c.reported ? 1 : 0);
        EXPECT_EQ(contains(check.out, "passes 5.00 from segment 2"), c.reported) << check.out;
    }
}

TEST(ClearanceRuns, NoStructureOfTheDemoTrackIsReported) {
    const std::string dir = scratchDir("clearance-demo");
    const std::string input = dir + "/demo.zvtrack";
    fs::copy_file(std::string(SW_SOURCE_DIR) + "/examples/demo.zvtrack", input);
    for (const char* radius : {"1.5", "6"}) {
        SCOPED_TRACE(radius);
        const ProgramRun run = runProgram({"--no-view", "--clearance", radius, input});
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_FALSE(contains(run.err, warningStart(input))) << run.err;
        EXPECT_TRUE(contains(run.err, "strutwright:   clearance: none within " + std::string(radius) + "\n"));
        const ProgramRun check = runZvtrack({"clearance", "--clearance", radius, input + "-new.zvtrack"});
        EXPECT_EQ(check.exitStatus, 0);
        EXPECT_EQ(check.out + check.err, "");
    }
}

// A circuit whose laps stack has a clearance warning at many structures:
// past the first 20 they are counted in one line, unless --verbose; the
// summary counts them all either way, and -q keeps the cap.
TEST(ClearanceRuns, MoreThanTwentyWarningsAreCountedInOneLineUnlessVerbose) {
    const std::string input = scratchDir("clearance-capped") + "/stacked.zvtrack";
    ZvTrack stacked = syntheticTrack(2000);
    saveTrack(input, &stacked);
    const ProgramRun verbose = runProgram({"--no-view", "--verbose", input});
    const std::vector<std::string> all = linesStartingWith(verbose.err, warningStart(input));
    ASSERT_GT(all.size(), kLinesPerKind);
    const std::string counted = "strutwright:   clearance: " + std::to_string(all.size()) +
                                " structures come within 1.5 of the track\n";
    EXPECT_TRUE(contains(verbose.err, counted));
    EXPECT_FALSE(contains(verbose.err, "more clearance lines")) << verbose.err;

    std::string first;
    for (size_t i = 0; i < kLinesPerKind; ++i) first += all[i] + "\n";
    const std::string rest = "strutwright: " + input + ": ... and " + std::to_string(all.size() - kLinesPerKind) +
                             " more clearance lines (--verbose prints them all)\n";
    const ProgramRun capped = runProgram({"--no-view", input});
    EXPECT_EQ(capped.exitStatus, 0);
    EXPECT_TRUE(contains(capped.err, first + rest + "strutwright: " + input + ": ")) << capped.err;
    EXPECT_EQ(linesStartingWith(capped.err, warningStart(input)).size(), kLinesPerKind);
    EXPECT_TRUE(contains(capped.err, counted));
    const ProgramRun quiet = runProgram({"--no-view", "-q", input});
    EXPECT_EQ(quiet.err, first + rest);
}

void expectUsageError(const ProgramRun& run, const std::string& program, const std::string& problem) {
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, program + ": " + problem + "\nTry '" + program + " --help' for more information.\n");
}

// Both programs read --clearance the same way; a marker spacing (--place,
// --spacing) is at least 1. A number is judged as written and as the float
// the programs use, so none rounds across a limit.
TEST(ClearanceRuns, NumbersThatMakeNoSenseAreUsageErrors) {
    for (const char* value : {"-1", "nan", "inf", "abc", "", "1e40", "0x2", " 2", "1.5m", "1e-46", "-1e-46",
                              "1e-400", "-1e-400"}) {
        SCOPED_TRACE(value);
        const std::string problem =
            "--clearance takes 0 or a number from 1.4e-45 to 3.4e+38, not '" + std::string(value) + "'";
        expectUsageError(runProgram({"--no-view", "--clearance", value, "x.zvtrack"}), "strutwright", problem);
        expectUsageError(runZvtrack({"clearance", "--clearance=" + std::string(value), "x.zvtrack"}), "zvtrack",
                         problem);
    }
    for (const char* value : {"0.5", "0", "-8", "nan", "inf", "x", "", "0.9999999999", "0.99999999999999999999999"}) {
        SCOPED_TRACE(value);
        const std::string range = " takes a number from 1 to 3.4e+38, not '" + std::string(value) + "'";
        expectUsageError(runProgram({"--no-view", "--place", value, "x.zvtrack"}), "strutwright", "--place" + range);
        expectUsageError(runZvtrack({"place", "--spacing", value, "x.zvtrack", "y.zvtrack"}), "zvtrack",
                         "--spacing" + range);
    }
}

// The values at the limits themselves, however written, are taken.
TEST(ClearanceRuns, NumbersAtTheLimitsAreTaken) {
    const std::string input = crossingFile("clearance-limits", 0);
    const ProgramRun zero = runProgram({"--no-view", "--clearance", "0.000e-99", input});
    EXPECT_EQ(zero.exitStatus, 0) << zero.err;
    EXPECT_FALSE(contains(zero.err, "clearance:")) << "the check is off: " << zero.err;
    const ProgramRun tiny = runZvtrack({"clearance", "--clearance=1e-45", input});
    EXPECT_EQ(tiny.exitStatus, 0) << tiny.err;
    const ProgramRun one = runProgram({"--no-view", "--place", "1.00000000000000000000001", input});
    EXPECT_EQ(one.exitStatus, 0) << one.err;
}

}  // namespace
