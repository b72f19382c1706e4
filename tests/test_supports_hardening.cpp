// The clearance check and placement on any document: random bytes as a file
// could hold them and random tracks of every shape. Nothing crashes, every
// reported number is finite, and placing twice changes nothing more.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "clearance.h"
#include "hardening_tracks.h"
#include "placement.h"

namespace {

void expectSound(const CentreLinePass& pass, float radius) {
    EXPECT_LT(pass.distance, radius);
    EXPECT_TRUE(isFinite(pass.supportPoint) && isFinite(pass.trackPoint));
}

// What the loops below met, so that they are known to have checked something.
struct Seen {
    size_t conflicts = 0, placed = 0, structures = 0;
};

// Checks, then places on the document and places again.
void checkAndPlace(ZvTrack track, Seen* seen) {
    for (float radius : {kDefaultClearanceRadius, 6.0f}) {
        for (const TubeConflict& conflict : checkTrackClearance(track, radius)) {
            EXPECT_LT(conflict.tube, track.tubeArray.size());
            expectSound(conflict.pass, radius);
            ++seen->conflicts;
        }
    }
    const PlacementReport report = placeMarkers(&track);
    for (const PlacedMarker& marker : report.placed) EXPECT_TRUE(std::isfinite(marker.position));
    seen->placed += report.placed.size();
    std::vector<unsigned char> once, twice;
    ZvSaveMemory(&track, &once);
    EXPECT_TRUE(placeMarkers(&track).placed.empty());
    ZvSaveMemory(&track, &twice);
    EXPECT_EQ(once, twice);
}

TEST(SupportsHardening, RandomDocumentsAreCheckedAndPlacedSafely) {
    // Random bytes seldom make a track to place on: this is about surviving them.
    std::mt19937 rng(1606);
    Seen seen;
    for (int i = 0; i < 10; ++i) checkAndPlace(randomDocument(rng), &seen);
}

TEST(SupportsHardening, RandomTracksOfEveryShapeAreCheckedAfterGeneration) {
    std::mt19937 rng(1607);
    Seen seen;
    for (TrackShape shape : {TrackShape::kOpen, TrackShape::kClosed, TrackShape::kDegenerate}) {
        for (int i = 0; i < 4; ++i) {
            ZvTrack track = randomMarkedTrack(rng, shape);
            ZvTrack bare = track;
            const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
            const BuiltClearance found = checkBuiltStructures(track, report);
            for (const StructureConflict& conflict : found.structures) {
                expectSound(conflict.pass, kDefaultClearanceRadius);
                EXPECT_LT(static_cast<size_t>(conflict.member.tube), track.tubeArray.size());
            }
            seen.structures += report.structures.size();
            seen.conflicts += found.structures.size();
            for (TrackNodeList& list : bare.trackNodeLists) list.nodes.clear();
            checkAndPlace(bare, &seen);
        }
    }
    EXPECT_GT(seen.structures, 0u);
    EXPECT_GT(seen.conflicts, 0u);
    EXPECT_GT(seen.placed, 0u);
}

}  // namespace
