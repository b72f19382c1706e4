// Properties that must hold for every document and every input file: saved
// documents load back byte for byte, the generator produces sound geometry on
// any sound track, and damaged files load or fail cleanly, never crash.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "hardening_tracks.h"
#include "strutWright.h"

namespace {

// What loading bytes into a zero document gave.
struct LoadOutcome {
    bool loaded = false;
    ZvTrack track;
    ZvLoadReport report;
};

LoadOutcome loadBytes(const Bytes& bytes) {
    LoadOutcome outcome;
    outcome.loaded = ZvOpenMemory(bytes.data(), bytes.size(), &outcome.track, &outcome.report) == 1;
    return outcome;
}

const Bytes& zeroDocumentBytes() {
    static const Bytes bytes = fixture::saveToBytes(ZvTrack{});
    return bytes;
}

// The promise for any input: it loads and what loaded saves and reloads, or it
// fails with a message and leaves the document as it was.
void expectLoadsOrFailsCleanly(const Bytes& input, const std::string& what) {
    LoadOutcome outcome = loadBytes(input);
    if (!outcome.loaded) {
        EXPECT_FALSE(outcome.report.error.empty()) << what << ": failure without a message";
        EXPECT_EQ(fixture::saveToBytes(outcome.track), zeroDocumentBytes())
            << what << ": a failed load changed the document";
        return;
    }
    Bytes saved = fixture::saveToBytes(outcome.track);
    LoadOutcome reloaded = loadBytes(saved);
    ASSERT_TRUE(reloaded.loaded) << what << ": saved file does not load: " << reloaded.report.error;
    EXPECT_EQ(fixture::saveToBytes(reloaded.track), saved) << what << ": second save differs";
}

constexpr int kRandomDocuments = 150;

TEST(RandomDocuments, SaveLoadSaveGivesIdenticalBytes) {
    std::mt19937 rng(20240607);
    for (int i = 0; i < kRandomDocuments; ++i) {
        ZvTrack original = randomDocument(rng);
        Bytes first = fixture::saveToBytes(original);
        LoadOutcome outcome = loadBytes(first);
        ASSERT_TRUE(outcome.loaded) << "document " << i << ": " << outcome.report.error;
        EXPECT_GT(outcome.report.chunksRead, 0);
        ASSERT_EQ(fixture::saveToBytes(outcome.track), first) << "document " << i;
    }
}

TEST(RandomDocuments, LoadedFieldsEqualTheOriginal) {
    std::mt19937 rng(7);
    for (int i = 0; i < 20; ++i) {
        ZvTrack original = randomDocument(rng);
        LoadOutcome outcome = loadBytes(fixture::saveToBytes(original));
        ASSERT_TRUE(outcome.loaded);
        const ZvTrack& loaded = outcome.track;
        EXPECT_STREQ(loaded.authorComments, original.authorComments);
        EXPECT_EQ(loaded.bezierArray.size(), original.bezierArray.size());
        EXPECT_EQ(loaded.segmentArray.size(), original.segmentArray.size());
        EXPECT_EQ(loaded.trackNodeLists.size(), original.trackNodeLists.size());
        ASSERT_EQ(loaded.catwRecords.size(), original.catwRecords.size());
        for (size_t r = 0; r < loaded.catwRecords.size(); ++r) {
            EXPECT_EQ(loaded.catwRecords[r].data, original.catwRecords[r].data);
        }
        ASSERT_EQ(loaded.scobRecords.size(), original.scobRecords.size());
        for (size_t r = 0; r < loaded.scobRecords.size(); ++r) {
            EXPECT_EQ(loaded.scobRecords[r].text1, original.scobRecords[r].text1);
            EXPECT_EQ(loaded.scobRecords[r].text2, original.scobRecords[r].text2);
        }
        EXPECT_EQ(loaded.envcText2, original.envcText2);
        EXPECT_EQ(loaded.hasTerrain, original.hasTerrain);
        for (int row = 0; row < original.terrainRows * original.hasTerrain; ++row) {
            for (int column = 0; column < original.terrainColumns; ++column) {
                float want = terrainHeight(&original, row, column);
                float got = terrainHeight(&loaded, row, column);
                EXPECT_EQ(std::memcmp(&want, &got, sizeof want), 0) << row << "," << column;
            }
        }
    }
}

// What the generator leaves behind when it is run as the driver runs it.
struct Generated {
    ZvTrack track;
    std::string printed;
    int markers = 0;
};

Generated generate(ZvTrack track) {
    Generated result;
    for (int s = 0; s < getTotalSegments(&track); ++s) result.markers += getTotalTrackNodes(s, &track);
    result.track = std::move(track);
    testing::internal::CaptureStdout();
    generateWithDriverDefaults(&result.track);
    result.printed = testing::internal::GetCapturedStdout();
    return result;
}

bool finite(float x, float y, float z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

bool endExists(int kind, int index, const ZvTrack& track) {
    if (index < 0) return false;
    if (kind == kEndFreeNode) return static_cast<size_t>(index) < track.freeNodeArray.size();
    if (kind == kEndFundNode) return static_cast<size_t>(index) < track.fundNodeArray.size();
    return false;
}

void expectSoundSupports(const Generated& g, const std::string& what) {
    const ZvTrack& t = g.track;
    EXPECT_EQ(g.printed, "0\n1\n") << what;
    for (size_t s = 0; s < t.trackNodeLists.size(); ++s) {
        EXPECT_TRUE(t.trackNodeLists[s].nodes.empty()) << what << ": markers left on segment " << s;
    }
    EXPECT_GE(t.tubeArray.size(), static_cast<size_t>(g.markers)) << what << ": a marker got no strut";
    for (const FreeNodeRecord& n : t.freeNodeArray) {
        EXPECT_TRUE(finite(n.x, n.y, n.z)) << what << ": free node " << n.x << "," << n.y << "," << n.z;
    }
    for (const FundNodeRecord& n : t.fundNodeArray) {
        EXPECT_TRUE(finite(n.x, n.y, n.z) && std::isfinite(n.angle))
            << what << ": foundation " << n.x << "," << n.y << "," << n.z << " angle " << n.angle;
        EXPECT_EQ(n.y, 0.0f) << what << ": a foundation off the ground";
    }
    for (size_t i = 0; i < t.tubeArray.size(); ++i) {
        const TubeRecord& tube = t.tubeArray[i];
        EXPECT_TRUE(endExists(tube.kind1, tube.index1, t) && endExists(tube.kind2, tube.index2, t))
            << what << ": tube " << i << " joins " << tube.kind1 << "/" << tube.index1 << " and "
            << tube.kind2 << "/" << tube.index2;
        EXPECT_TRUE(std::isfinite(tube.tubeSize)) << what;
    }
}

TEST(RandomMarkedTracks, GenerateFiniteSupportsBetweenExistingNodes) {
    std::mt19937 rng(99);
    const TrackShape shapes[] = {TrackShape::kOpen, TrackShape::kClosed, TrackShape::kDegenerate};
    for (TrackShape shape : shapes) {
        size_t foundations = 0;  // the columns, braced legs and crossbeams built
        for (int i = 0; i < 60; ++i) {
            std::string what = "shape " + std::to_string(static_cast<int>(shape)) + " track " +
                               std::to_string(i);
            Generated g = generate(randomMarkedTrack(rng, shape));
            expectSoundSupports(g, what);
            foundations += g.track.fundNodeArray.size();
            // The generated track is a file like any other.
            expectLoadsOrFailsCleanly(fixture::saveToBytes(g.track), what);
        }
        EXPECT_GT(foundations, 100u) << "shape " << static_cast<int>(shape);
    }
}

// Seeds for the mutation tests: a full random document and a generated track.
std::vector<Bytes> mutationSeeds() {
    std::mt19937 rng(3);
    std::vector<Bytes> seeds;
    seeds.push_back(fixture::saveToBytes(randomDocument(rng)));
    seeds.push_back(fixture::saveToBytes(randomMarkedTrack(rng, TrackShape::kClosed)));
    return seeds;
}

TEST(MutatedFiles, EveryTruncationLoadsOrFailsCleanly) {
    for (const Bytes& seed : mutationSeeds()) {
        for (size_t cut = 0; cut < seed.size(); ++cut) {
            Bytes truncated(seed.begin(), seed.begin() + static_cast<long>(cut));
            expectLoadsOrFailsCleanly(truncated, "cut at " + std::to_string(cut));
        }
    }
}

// Chunks of fixed-size records: key, length word, null run of 16, count,
// records, null run of 16.
struct RecordChunk {
    const char* key;
    size_t recordSize;
    size_t count;
};

TEST(MutatedFiles, EveryCutInsideRecordsFails) {
    std::mt19937 rng(4);
    ZvTrack document = randomDocument(rng);
    Bytes file = fixture::saveToBytes(document);
    const RecordChunk chunks[] = {{"BEZR", 60, document.bezierArray.size()},
                                  {"FUND", 92, document.fundNodeArray.size()},
                                  {"FREN", 28, document.freeNodeArray.size()},
                                  {"TUBE", 48, document.tubeArray.size()},
                                  {"SCEN", 64, document.scenRecords.size()}};
    for (const RecordChunk& chunk : chunks) {
        size_t key = fixture::findKey(file, chunk.key);
        ASSERT_NE(key, fixture::npos) << chunk.key;
        size_t end = key + 28 + chunk.recordSize * chunk.count + 16;
        for (size_t cut = key + 4; cut < end; ++cut) {
            LoadOutcome outcome = loadBytes(Bytes(file.begin(), file.begin() + static_cast<long>(cut)));
            EXPECT_FALSE(outcome.loaded) << chunk.key << " cut at " << cut;
            EXPECT_NE(outcome.report.error.find(chunk.key), std::string::npos) << outcome.report.error;
        }
    }
}

TEST(MutatedFiles, BitFlipsLoadOrFailCleanly) {
    std::mt19937 rng(11);
    for (const Bytes& seed : mutationSeeds()) {
        for (int i = 0; i < 1500; ++i) {
            Bytes mutated = seed;
            int flips = 1 + static_cast<int>(rng() % 4);
            for (int f = 0; f < flips; ++f) mutated[rng() % mutated.size()] ^= 1u << (rng() % 8);
            expectLoadsOrFailsCleanly(mutated, "flip round " + std::to_string(i));
        }
    }
}

TEST(MutatedFiles, HighBytesInCountsLoadOrFailCleanly) {
    // A high first byte turns a count or length huge or negative.
    for (const Bytes& seed : mutationSeeds()) {
        for (size_t at = 0; at < seed.size(); at += 4) {
            for (unsigned char high : {0x7Fu, 0x80u, 0xFFu}) {
                Bytes mutated = seed;
                mutated[at] = high;
                expectLoadsOrFailsCleanly(mutated, "high byte at " + std::to_string(at));
            }
        }
    }
}

TEST(MutatedFiles, SplicedChunksLoadOrFailCleanly) {
    std::mt19937 rng(13);
    std::vector<Bytes> seeds = mutationSeeds();
    for (int i = 0; i < 1000; ++i) {
        const Bytes& head = seeds[rng() % seeds.size()];
        const Bytes& tail = seeds[rng() % seeds.size()];
        size_t headEnd = rng() % head.size(), tailStart = rng() % tail.size();
        Bytes spliced(head.begin(), head.begin() + static_cast<long>(headEnd));
        spliced.insert(spliced.end(), tail.begin() + static_cast<long>(tailStart), tail.end());
        expectLoadsOrFailsCleanly(spliced, "splice " + std::to_string(i));
    }
}

}  // namespace
