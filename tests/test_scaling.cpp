// Work that grows with the track: the tracks that pass over themselves most,
// at two sizes 4 times apart, run through the program's own path (placing,
// generating, checking). Four times the track may cost at most 4.5 times the
// time: the CPU time of a process that does nothing else, the fastest of
// three, so other work on the machine and a slower build (the sanitizers')
// leave the ratio alone, and both sizes start from fresh memory.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

#include "batch.h"
#include "stressTracks.h"

namespace {

constexpr double kMostGrowth = 4.5;
constexpr int kRuns = 3;
constexpr float kSpacing = 8;

BatchResult run(const ZvTrack& track, float spacing) {
    BatchOptions options;
    options.entryOutput = nullptr;
    options.markerSpacing = spacing;
    ZvTrack copy = track;
    BatchResult result;
    processTrack(&copy, options, &result);
    return result;
}

// The CPU time of a child process that runs `track`; infinity when it fails.
double childSeconds(const ZvTrack& track, float spacing) {
    const pid_t child = fork();
    if (child == 0) {
        run(track, spacing);
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::numeric_limits<double>::infinity();
    }
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// How much longer the large track takes than the small one, each the fastest
// of kRuns, by turns.
double growth(const ZvTrack& small, const ZvTrack& large, float spacing, const char* what) {
    double smallSeconds = std::numeric_limits<double>::infinity();
    double largeSeconds = smallSeconds;
    for (int turn = 0; turn < kRuns; ++turn) {
        smallSeconds = std::min(smallSeconds, childSeconds(small, spacing));
        largeSeconds = std::min(largeSeconds, childSeconds(large, spacing));
    }
    std::cout << what << ": " << smallSeconds << " s, 4 times the size " << largeSeconds << " s, "
              << largeSeconds / smallSeconds << " times\n";
    return largeSeconds / smallSeconds;
}

size_t leftOutOn(const PlacementReport& report, int segment) {
    return static_cast<size_t>(std::count_if(report.leftOut.begin(), report.leftOut.end(),
                                             [segment](const LeftOutMarker& m) { return m.segment == segment; }));
}

// The upper straight runs 10 above its return: every place on it is left out
// (places at 4, 12, ...: length / 8 of them), and the return takes markers.
TEST(Scaling, AHairpinPlacedEvery8) {
    const ZvTrack small = hairpinTrack(30000), large = hairpinTrack(120000);
    const BatchResult result = run(large, kSpacing);
    EXPECT_EQ(120000u / 8, result.placement.leftOut.size());
    EXPECT_EQ(120000u / 8, leftOutOn(result.placement, 0));
    EXPECT_GT(result.placement.placed.size(), 120000u / 8);
    EXPECT_TRUE(result.clearance.structures.empty());
    EXPECT_LE(growth(small, large, kSpacing, "hairpin 30,000 long"), kMostGrowth);
}

// Vertical track passes over itself everywhere: no place keeps its supports
// clear. 8 segments of 4,990 hold ceil((39,920 - 4) / 8) places, 32 of them
// ceil((159,680 - 4) / 8).
TEST(Scaling, VerticalSegmentsPlacedEvery8) {
    const ZvTrack small = verticalTrack(8), large = verticalTrack(32);
    EXPECT_EQ(4990u, run(small, kSpacing).placement.leftOut.size());
    const BatchResult result = run(large, kSpacing);
    EXPECT_EQ(19960u, result.placement.leftOut.size());
    EXPECT_TRUE(result.placement.placed.empty());
    EXPECT_LE(growth(small, large, kSpacing, "8 vertical segments"), kMostGrowth);
}

// Every column passes through every turn below it; all but 29 of the first
// turn's 32 meet one (test_clearance: AHelixColumnMeetsTheTurnRightBelowIt).
TEST(Scaling, AHelixWithItsMarkers) {
    const ZvTrack small = helixTrack(500), large = helixTrack(2000);
    EXPECT_EQ(2000u * 32 - 29, run(large, 0).clearance.structures.size());
    EXPECT_LE(growth(small, large, 0, "helix of 500 turns"), kMostGrowth);
}

}  // namespace
