// Hostile files: counts and lengths that claim far more than the file holds
// must fail at once, and loading any file may only use memory in proportion to
// its size (plus the document's fixed terrain grid).
//
// This executable replaces the global operator new and delete to count the
// bytes that are live at once, so it is a program of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <new>

#include "hardening_tracks.h"

namespace {

// Live and peak bytes allocated through operator new.
size_t gLiveBytes = 0;
size_t gPeakBytes = 0;

// Every block carries its size in front of it, aligned for any type.
constexpr size_t kHeader = alignof(std::max_align_t);

void* countedAllocate(size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    gLiveBytes += size;
    if (gLiveBytes > gPeakBytes) gPeakBytes = gLiveBytes;
    return static_cast<char*>(block) + kHeader;
}

void countedRelease(void* pointer) {
    if (pointer == nullptr) return;
    void* block = static_cast<char*>(pointer) - kHeader;
    gLiveBytes -= *static_cast<size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(size_t size) { return countedAllocate(size); }
void* operator new[](size_t size) { return countedAllocate(size); }
void operator delete(void* pointer) noexcept { countedRelease(pointer); }
void operator delete[](void* pointer) noexcept { countedRelease(pointer); }
void operator delete(void* pointer, size_t) noexcept { countedRelease(pointer); }
void operator delete[](void* pointer, size_t) noexcept { countedRelease(pointer); }

namespace {

using fixture::ByteBuilder;

constexpr int32_t kHugeCount = std::numeric_limits<int32_t>::max();
constexpr size_t kHostileFileSize = 200;
// The document's fixed terrain grid, which any file with terrain may fill.
constexpr size_t kTerrainGridBytes = sizeof(float) * kTerrainMaxRows * kTerrainMaxColumns;
// The in-memory form of the densest record (a segment of type 0 is 37 bytes in
// the file and a whole SegmentRecord in memory) bounds the growth per file byte.
constexpr size_t kBytesPerFileByte = 8;
constexpr size_t kPlainSegmentFileBytes = 37;
static_assert(sizeof(SegmentRecord) <= kBytesPerFileByte * kPlainSegmentFileBytes,
              "a segment outgrew the stated memory bound; restate it in the README");
constexpr size_t kFixedAllowance = 64 * 1024;

size_t memoryBound(size_t fileSize) {
    return kBytesPerFileByte * fileSize + kTerrainGridBytes + kFixedAllowance;
}

struct MeasuredLoad {
    int result = 0;
    ZvLoadReport report;
    size_t peakBytes = 0;  // above what was live before the load
};

// Runs load(track, report) on a zero document and measures its peak memory.
template <class Load>
MeasuredLoad measure(Load load) {
    MeasuredLoad measured;
    ZvTrack track;
    size_t before = gLiveBytes;
    gPeakBytes = before;
    measured.result = load(&track, &measured.report);
    measured.peakBytes = gPeakBytes - before;
    return measured;
}

MeasuredLoad measureLoad(const Bytes& file) {
    return measure([&](ZvTrack* track, ZvLoadReport* report) {
        return ZvOpenMemory(file.data(), file.size(), track, report);
    });
}

struct HostileFile {
    const char* what;
    const char* key;  // the chunk the message must name
    Bytes bytes;
};

// Chunks whose body starts with the null run of 16 and then a count.
ByteBuilder countedChunk(const char* key, int32_t count) {
    ByteBuilder file;
    file.key(key).integer(0).zeros(16).integer(count);
    return file;
}

std::vector<HostileFile> hostileFiles() {
    const auto padded = [](const ByteBuilder& writer) {
        Bytes bytes = writer.bytes();
        bytes.resize(kHostileFileSize, 0);
        return bytes;
    };
    std::vector<HostileFile> files;
    for (const char* key : {"BEZR", "FUND", "RASC", "FREN", "TUBE", "CATW", "SCEN", "SCOB"}) {
        files.push_back({"huge count", key, padded(countedChunk(key, kHugeCount))});
        files.push_back({"negative count", key, padded(countedChunk(key, -1))});
        files.push_back({"more records than the file holds", key, padded(countedChunk(key, 60))});
    }
    ByteBuilder segments;
    segments.key("SEGM").integer(0).integer(kHugeCount).zeros(17);
    files.push_back({"huge segment count", "SEGM", padded(segments)});
    ByteBuilder entries;
    entries.key("TRCK").integer(0).integer(1).integer(kHugeCount).integer(6);
    files.push_back({"huge entry count", "TRCK", padded(entries)});
    ByteBuilder entryText;
    entryText.key("TRCK").integer(0).integer(1).integer(1).integer(6).zeros(8).integer(kHugeCount);
    files.push_back({"huge entry text", "TRCK", padded(entryText)});
    ByteBuilder comments;
    comments.key("INFO").integer(0).zeros(16).integer(kHugeCount);
    files.push_back({"huge comment length", "INFO", padded(comments)});
    ByteBuilder nodes = countedChunk("RASC", 1);
    nodes.integer(kHugeCount);
    files.push_back({"huge node count in a list", "RASC", padded(nodes)});
    ByteBuilder catwData = countedChunk("CATW", 1);
    catwData.zeros(24).integer(kHugeCount);
    files.push_back({"huge CATW data length", "CATW", padded(catwData)});
    ByteBuilder scobText = countedChunk("SCOB", 1);
    scobText.integer(kHugeCount);
    files.push_back({"huge SCOB text", "SCOB", padded(scobText)});
    ByteBuilder envc;
    envc.key("ENVC").integer(0).zeros(16).integer(kHugeCount);
    files.push_back({"huge ENVC text", "ENVC", padded(envc)});
    for (auto [columns, rows] : {std::pair{1000, 640}, std::pair{1001, 1}, std::pair{1, 641},
                                 std::pair{-1, 10}, std::pair{kHugeCount, kHugeCount}}) {
        ByteBuilder terrain;
        terrain.key("TERA").integer(0).integer(columns).integer(rows);
        files.push_back({"terrain larger than the file or the grid", "TERA", padded(terrain)});
    }
    ByteBuilder terrainText;
    terrainText.key("TERA").integer(0).integer(2).integer(2).real(0).real(0).integer(kHugeCount);
    files.push_back({"huge terrain text", "TERA", padded(terrainText)});
    return files;
}

TEST(HostileFiles, FailWithTheChunkNamedUsingLittleMemory) {
    for (const HostileFile& file : hostileFiles()) {
        SCOPED_TRACE(std::string(file.key) + ": " + file.what);
        MeasuredLoad load = measureLoad(file.bytes);
        EXPECT_EQ(load.result, 0);
        EXPECT_NE(load.report.error.find(file.key), std::string::npos) << load.report.error;
        EXPECT_LE(load.peakBytes, memoryBound(file.bytes.size()));
    }
}

TEST(HostileFiles, FailureLeavesAPopulatedDocumentUnchanged) {
    std::mt19937 rng(5);
    ZvTrack original = randomDocument(rng);
    Bytes before = fixture::saveToBytes(original);
    for (const HostileFile& file : hostileFiles()) {
        ZvTrack track = original;
        ZvLoadReport report;
        EXPECT_EQ(ZvOpenMemory(file.bytes.data(), file.bytes.size(), &track, &report), 0);
        EXPECT_EQ(fixture::saveToBytes(track), before) << file.key << ": " << file.what;
    }
}

constexpr size_t kDenseFileSize = 1 << 20;

// The zero bytes that close most chunks: a null run of 16 and the nested count.
constexpr size_t kClosingBytes = 20;
// What closes TRCK after its entries: colours, bytes, Int, Bool, Color, null
// run and nested count.
constexpr size_t kTrackSettingsTail = 52;

// A file that is one chunk of `count` records, each `record` as written, then
// `tail` zero bytes.
Bytes denseChunk(ByteBuilder chunk, const Bytes& record, int count, size_t tail = kClosingBytes) {
    Bytes bytes = chunk.bytes();
    for (int i = 0; i < count; ++i) bytes.insert(bytes.end(), record.begin(), record.end());
    bytes.resize(bytes.size() + tail, 0);
    return bytes;
}

int recordsThatFit(size_t recordSize) { return static_cast<int>(kDenseFileSize / recordSize); }

// The densest file of all: plain segments, the record that grows most in memory.
Bytes denseSegments() {
    int count = recordsThatFit(kPlainSegmentFileBytes);
    ByteBuilder segm;
    segm.key("SEGM").integer(0).integer(count).zeros(17);
    return denseChunk(segm, Bytes(kPlainSegmentFileBytes, 0), count);
}

TEST(DenseFiles, MemoryStaysWithinTheStatedBound) {
    // The records with the largest in-memory form for their size in the file.
    const Bytes emptyNodeList(4, 0);
    const Bytes emptyEntry(28, 0);  // also an empty CATW record
    const Bytes emptyScob(88, 0);
    ByteBuilder trck;
    trck.key("TRCK").integer(0).integer(0).integer(recordsThatFit(28)).integer(0);
    const std::pair<const char*, Bytes> files[] = {
        {"SEGM", denseSegments()},
        {"RASC", denseChunk(countedChunk("RASC", recordsThatFit(4)), emptyNodeList, recordsThatFit(4))},
        {"CATW", denseChunk(countedChunk("CATW", recordsThatFit(28)), emptyEntry, recordsThatFit(28))},
        {"SCOB", denseChunk(countedChunk("SCOB", recordsThatFit(88)), emptyScob, recordsThatFit(88))},
        {"TRCK", denseChunk(trck, emptyEntry, recordsThatFit(28), kTrackSettingsTail)},
    };
    for (const auto& [key, bytes] : files) {
        MeasuredLoad load = measureLoad(bytes);
        EXPECT_EQ(load.result, 1) << key << ": " << load.report.error;
        EXPECT_LE(load.peakBytes, memoryBound(bytes.size()))
            << key << ": " << load.peakBytes << " bytes for a file of " << bytes.size();
    }
}

TEST(DenseFiles, LoadingFromAFileAddsOnlyTheFileBytes) {
    Bytes bytes = denseSegments();
    std::string path = testing::TempDir() + "dense-segments.zvtrack";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    MeasuredLoad load = measure([&](ZvTrack* track, ZvLoadReport* report) {
        return ZvOpen(path.c_str(), track, report);
    });
    std::remove(path.c_str());
    EXPECT_EQ(load.result, 1) << load.report.error;
    EXPECT_LE(load.peakBytes, bytes.size() + memoryBound(bytes.size()));
}

TEST(DenseFiles, NoKeyAtAllLoadsWithoutGrowth) {
    Bytes noKeys(kDenseFileSize, 'x');
    MeasuredLoad load = measureLoad(noKeys);
    EXPECT_EQ(load.result, 1);
    EXPECT_EQ(load.report.chunksRead, 0);
    EXPECT_LE(load.peakBytes, kFixedAllowance);
}

}  // namespace
