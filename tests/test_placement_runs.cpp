// Marker placement as an author uses it: strutwright --place on a track
// without markers, and `zvtrack place` with its summary, its refusals and a
// run on its own output, and runs that place nothing. The bare track is the
// demo track without its markers.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app_fixtures.h"
#include "generator_fixtures.h"
#include "reportLines.h"
#include "stressTracks.h"
#include "syntheticTrack.h"

namespace fs = std::filesystem;
using namespace apptest;

namespace {

// What placement at the default spacing makes of the bare demo track.
const std::string kDemoPlacement =
    "markers placed every 8: 11 columns, 11 braced legs, 5 crossbeams\n"
    "  too low: 6 places (the track runs below 4 there)\n";

std::string bareDemoIn(const std::string& dir) {
    ZvTrack track;
    loadTrack(std::string(SW_SOURCE_DIR) + "/examples/demo.zvtrack", &track);
    stripMarkers(&track);
    std::string path = dir + "/bare.zvtrack";
    saveTrack(path, &track);
    return path;
}

// Markers of a track file by node type.
std::map<int, int> markerTypes(const std::string& path) {
    ZvTrack track;
    loadTrack(path, &track);
    std::map<int, int> types;
    for (const TrackNodeList& list : track.trackNodeLists) {
        for (const TrackNodeRecord& marker : list.nodes) ++types[marker.nodeType];
    }
    return types;
}

TEST(PlacementRuns, StrutwrightPlacesAndThenGeneratesOnATrackWithoutMarkers) {
    const std::string input = bareDemoIn(scratchDir("place-strutwright"));
    const std::string output = input + "-new.zvtrack";
    const ProgramRun run = runProgram({"--place", "8", "--no-view", input});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "0\n1\n");
    EXPECT_EQ(run.err, "strutwright: " + input + ": markers placed every 8: 11 columns, 11 braced legs, 5 crossbeams\n"
                       "strutwright:   too low: 6 places (the track runs below 4 there)\n"
                       "strutwright: " + input + ": 27 markers found\n"
                       "strutwright:   built: 11 columns, 11 braced legs, 5 crossbeams\n"
                       "strutwright:   kept: none\n"
                       "strutwright:   added: 372 free nodes, 38 foundations, 210 tubes\n"
                       "strutwright:   clearance: none within 1.5\n"
                       "strutwright: wrote " + output + "\n");
    ZvTrack generated;
    loadTrack(output, &generated);
    EXPECT_EQ(getTotalSupport(&generated), 210);
    EXPECT_TRUE(markerTypes(output).empty());
}

// Placing that places nothing says why, in the summary's first line; on the
// vertical stack every place is left out.
TEST(PlacementRuns, PlacingNothingSaysWhy) {
    const std::string dir = scratchDir("place-nothing");
    const std::string demo = dir + "/demo.zvtrack";
    fs::copy_file(std::string(SW_SOURCE_DIR) + "/examples/demo.zvtrack", demo);
    const ProgramRun marked = runProgram({"--place=8", "--no-view", demo});
    EXPECT_EQ(marked.exitStatus, 0) << marked.err;
    EXPECT_EQ(marked.err.rfind("strutwright: " + demo +
                                   ": markers placed every 8: none (every segment with a curve has markers of its own)\n"
                                   "strutwright: " + demo + ": ",
                               0),
              0u)
        << marked.err;

    ZvTrack empty;
    initNewZvTrack(&empty);
    saveTrack(dir + "/empty.zvtrack", &empty);
    const ProgramRun bare = runZvtrack({"place", dir + "/empty.zvtrack", dir + "/empty-placed.zvtrack"});
    EXPECT_EQ(bare.exitStatus, 0) << bare.err;
    EXPECT_EQ(bare.out, "markers placed every 8: none (the track has no segment with a curve)\n");

    ZvTrack stack = verticalTrack(3);
    saveTrack(dir + "/stack.zvtrack", &stack);
    const ProgramRun stacked = runZvtrack({"place", dir + "/stack.zvtrack", dir + "/stack-placed.zvtrack"});
    EXPECT_EQ(stacked.exitStatus, 0) << stacked.err;
    // Three segments of 4,990 hold ceil((14,970 - 4) / 8) = 1,871 places.
    EXPECT_EQ(stacked.out.rfind("markers placed every 8: none\n  left out: segment 0 at 0.00 (no place within 4 keeps "
                                "its supports clear of the track)\n",
                                0),
              0u)
        << stacked.out.substr(0, 200);
    size_t leftOut = 0;
    for (size_t at = stacked.out.find("  left out: "); at != std::string::npos;
         at = stacked.out.find("  left out: ", at + 1)) {
        ++leftOut;
    }
    EXPECT_EQ(leftOut, 1871u);
}

// Placing on a supported track builds a second set: strutwright does what it
// is asked, but says so.
TEST(PlacementRuns, StrutwrightPlacingOnASupportedTrackWarns) {
    const std::string input = scratchDir("place-supported") + "/demo.zvtrack";
    fs::copy_file(std::string(SW_SOURCE_DIR) + "/examples/demo.zvtrack", input);
    ASSERT_EQ(runProgram({"-q", "--no-view", "-o", input + ".supported", input}).exitStatus, 0);
    const ProgramRun run = runProgram({"-q", "--place", "8", "--no-view", input + ".supported"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.err.find("strutwright: " + input + ".supported: already holds"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("second set of supports"), std::string::npos) << run.err;
}

TEST(PlacementRuns, ZvtrackPlaceWritesTheMarkersAndGeneratingThemGivesWhatOneRunGives) {
    const std::string dir = scratchDir("place-zvtrack");
    const std::string input = bareDemoIn(dir);
    const std::string before = readFile(input);
    const std::string placed = dir + "/placed.zvtrack";
    const ProgramRun run = runZvtrack({"place", input, placed});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, kDemoPlacement);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(input), before);
    EXPECT_EQ(markerTypes(placed), (std::map<int, int>{{kMarkerColumn, 11}, {kMarkerCrossbeam, 5}, {kMarkerBracedLeg, 11}}));

    // Two steps give the bytes of strutwright --place.
    ASSERT_EQ(runProgram({"--no-view", "-q", placed}).exitStatus, 0);
    ASSERT_EQ(runProgram({"--no-view", "-q", "--place=8", input}).exitStatus, 0);
    EXPECT_EQ(readFile(placed + "-new.zvtrack"), readFile(input + "-new.zvtrack"));

    // On its own output it places nothing and writes the same bytes (the
    // segments left without markers run low); only the existing output needs
    // --force.
    const std::string again = dir + "/again.zvtrack";
    writeFile(again, "an older placement");
    const ProgramRun rerun = runZvtrack({"place", "--force", placed, again});
    EXPECT_EQ(rerun.exitStatus, 0) << rerun.err;
    EXPECT_EQ(rerun.out, "markers placed every 8: none (every place is lower than 4)\n"
                         "  too low: 6 places (the track runs below 4 there)\n");
    EXPECT_EQ(readFile(again), readFile(placed));
}

TEST(PlacementRuns, ZvtrackPlaceMovesAMarkerOffACrossingAndTellsWhereItLeftOneOut) {
    const std::string dir = scratchDir("place-crossing");
    ZvTrack crossing = genfix::crossingTrack(0);
    saveTrack(dir + "/crossing.zvtrack", &crossing);
    const ProgramRun moved = runZvtrack({"place", dir + "/crossing.zvtrack", dir + "/placed.zvtrack"});
    EXPECT_EQ(moved.exitStatus, 0) << moved.err;
    EXPECT_NE(moved.out.find("\n  moved: 1 (their supports would have come within 1.5 of the track)\n"),
              std::string::npos)
        << moved.out;
    const ProgramRun check = runProgram({"--no-view", dir + "/placed.zvtrack"});
    EXPECT_NE(check.err.find("clearance: none within 1.5"), std::string::npos) << check.err;

    // The synthetic circuit's laps stack: some places have no clear spot near them.
    ZvTrack laps = syntheticTrack(2400);
    stripMarkers(&laps);
    saveTrack(dir + "/laps.zvtrack", &laps);
    const ProgramRun leftOut = runZvtrack({"place", "--spacing=8", dir + "/laps.zvtrack", dir + "/laps-placed.zvtrack"});
    EXPECT_EQ(leftOut.exitStatus, 0) << leftOut.err;
    EXPECT_NE(leftOut.out.find("\n  left out: segment "), std::string::npos) << leftOut.out;
    EXPECT_NE(leftOut.out.find(" (no place within 4 keeps its supports clear of the track)\n"), std::string::npos);
}

// A hairpin: a straight at height 20 right above its own return at height
// 10, where no place on the upper straight keeps its supports clear. Past
// the first 20 the "left out" lines are counted in one line, unless --verbose.
TEST(PlacementRuns, MoreThanTwentyLeftOutLinesAreCountedInOneLineUnlessVerbose) {
    ZvTrack hairpin = genfix::straightTrack({-100, 20, 0}, {100, 20, 0});
    genfix::addStraightBezier(&hairpin, {100, 10, 0});
    genfix::addStraightBezier(&hairpin, {-100, 10, 0});
    const std::string input = scratchDir("place-capped") + "/hairpin.zvtrack";
    saveTrack(input, &hairpin);
    const std::string leftOut = "strutwright:   left out: segment 0 at ";
    const ProgramRun verbose = runProgram({"--no-view", "--verbose", "--place", "4", input});
    const std::vector<std::string> all = linesStartingWith(verbose.err, leftOut);
    ASSERT_GT(all.size(), kLinesPerKind) << verbose.err;
    EXPECT_FALSE(contains(verbose.err, "more left out lines")) << verbose.err;

    const ProgramRun capped = runProgram({"--no-view", "--place", "4", input});
    EXPECT_EQ(capped.exitStatus, 0) << capped.err;
    std::string first;
    for (size_t i = 0; i < kLinesPerKind; ++i) first += all[i] + "\n";
    EXPECT_TRUE(contains(capped.err, first + "strutwright: " + input + ": ... and " +
                                         std::to_string(all.size() - kLinesPerKind) +
                                         " more left out lines (--verbose prints them all)\n"))
        << capped.err;
    EXPECT_EQ(linesStartingWith(capped.err, "strutwright:   left out: ").size(), kLinesPerKind);

    // zvtrack place lists them all, on stdout.
    const ProgramRun listed = runZvtrack({"place", "--spacing=4", input, input + "-placed.zvtrack"});
    EXPECT_EQ(linesStartingWith(listed.out, "  left out: segment 0 at ").size(), all.size());
}

TEST(PlacementRuns, ZvtrackPlaceRefusesToReplaceItsInputAnExistingFileOrToPlaceOnSupports) {
    const std::string dir = scratchDir("place-refusals");
    const std::string input = bareDemoIn(dir);
    const std::string before = readFile(input);
    fs::create_symlink(input, dir + "/link.zvtrack");
    for (const std::string& output : {input, dir + "/./bare.zvtrack", dir + "/link.zvtrack"}) {
        const ProgramRun same = runZvtrack({"place", "--force", input, output});
        EXPECT_EQ(same.exitStatus, 2) << output;
        EXPECT_EQ(same.err, "zvtrack: the output '" + output + "' is the track file itself\n"
                            "Try 'zvtrack --help' for more information.\n");
    }
    EXPECT_EQ(readFile(input), before);

    const std::string existing = dir + "/existing.zvtrack";
    writeFile(existing, "the author's own track");
    const ProgramRun kept = runZvtrack({"place", input, existing});
    EXPECT_EQ(kept.exitStatus, 2);
    EXPECT_EQ(kept.err, "zvtrack: " + existing + ": already exists; use --force to replace it\n");
    EXPECT_EQ(readFile(existing), "the author's own track");

    // strutwright's output holds the supports of the markers it removed.
    ASSERT_EQ(runProgram({"--no-view", "-q", "--place", "8", input}).exitStatus, 0);
    const std::string supported = input + "-new.zvtrack";
    const std::string output = dir + "/twice.zvtrack";
    const ProgramRun refused = runZvtrack({"place", supported, output});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.err, "zvtrack: " + supported + ": already holds 210 support tubes: the placed markers get "
                           "a second set of supports beside them (use --force to place anyway)\n");
    EXPECT_FALSE(fileExists(output));
    const ProgramRun forced = runZvtrack({"place", "-f", supported, output});
    EXPECT_EQ(forced.exitStatus, 0) << forced.err;
    EXPECT_EQ(forced.out, kDemoPlacement);

    const ProgramRun missing = runZvtrack({"place", dir + "/missing.zvtrack", dir + "/out.zvtrack"});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.err.rfind("zvtrack: " + dir + "/missing.zvtrack: cannot open", 0), 0u) << missing.err;
    const ProgramRun oneFile = runZvtrack({"place", input});
    EXPECT_EQ(oneFile.exitStatus, 2);
    EXPECT_EQ(oneFile.err, "zvtrack: place needs two files: IN OUT\nTry 'zvtrack --help' for more information.\n");
}

}  // namespace
