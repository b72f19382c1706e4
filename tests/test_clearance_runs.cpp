// The clearance check as an author meets it: strutwright's warnings and
// summary line, and `zvtrack clearance` on the file it wrote, for a straight
// at height 20 crossing 15 above a lower one with a column marker right above
// the crossing, the lower straight moved aside, a third straight between
// them, and the demo track.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_fixtures.h"
#include "generator_fixtures.h"

namespace fs = std::filesystem;
using namespace apptest;

namespace {

constexpr const char* kWarningStart = "strutwright: clearance: ";

// The crossing with the lower straight `aside` from below the column marker,
// saved in a scratch folder; returns its path.
std::string crossingFile(const std::string& name, float aside) {
    ZvTrack track = genfix::crossingTrack(aside);
    addTrackNode(0, kMarkerColumn, 0.5f, &track);
    std::string path = scratchDir(name) + "/crossing.zvtrack";
    saveTrack(path, &track);
    return path;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ClearanceRuns, AColumnThroughTheTrackBelowIsReportedByBothPrograms) {
    const std::string input = crossingFile("clearance-crossing", 0);
    const std::string output = input + "-new.zvtrack";
    const ProgramRun run = runProgram({"--no-view", input});
    EXPECT_EQ(run.exitStatus, 0) << "a warning, not a failure";
    EXPECT_EQ(run.out, "0\n1\n");
    EXPECT_EQ(run.err,
              "strutwright: clearance: column of the type-2 marker at 0.50 on segment 0 passes 0.00 "
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
    EXPECT_EQ(run.err, "strutwright: clearance: column of the type-2 marker at 0.50 on segment 0 passes 1.00 "
                       "from segment 2 at (0.0, 12.0, 0.0)\n");
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
        EXPECT_EQ(contains(run.err, kWarningStart), c.reported) << run.err;
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
        EXPECT_FALSE(contains(run.err, kWarningStart)) << run.err;
        EXPECT_TRUE(contains(run.err, "strutwright:   clearance: none within " + std::string(radius) + "\n"));
        const ProgramRun check = runZvtrack({"clearance", "--clearance", radius, input + "-new.zvtrack"});
        EXPECT_EQ(check.exitStatus, 0);
        EXPECT_EQ(check.out + check.err, "");
    }
}

void expectUsageError(const ProgramRun& run, const std::string& program, const std::string& problem) {
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, program + ": " + problem + "\nTry '" + program + " --help' for more information.\n");
}

// Both programs read --clearance the same way; a marker spacing (--place,
// --spacing) is at least 1.
TEST(ClearanceRuns, NumbersThatMakeNoSenseAreUsageErrors) {
    for (const char* value : {"-1", "nan", "inf", "abc", "", "1e40", "0x2", " 2", "1.5m"}) {
        SCOPED_TRACE(value);
        const std::string problem = "--clearance takes a number of at least 0, not '" + std::string(value) + "'";
        expectUsageError(runProgram({"--no-view", "--clearance", value, "x.zvtrack"}), "strutwright", problem);
        expectUsageError(runZvtrack({"clearance", "--clearance=" + std::string(value), "x.zvtrack"}), "zvtrack",
                         problem);
    }
    for (const char* value : {"0.5", "0", "-8", "nan", "inf", "x", ""}) {
        SCOPED_TRACE(value);
        const std::string least = " takes a number of at least 1, not '" + std::string(value) + "'";
        expectUsageError(runProgram({"--no-view", "--place", value, "x.zvtrack"}), "strutwright", "--place" + least);
        expectUsageError(runZvtrack({"place", "--spacing", value, "x.zvtrack", "y.zvtrack"}), "zvtrack",
                         "--spacing" + least);
    }
}

}  // namespace
