// Damaged files are refused with a message and leave the document alone;
// failed saves leave nothing behind and never damage an existing file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <new>
#include <set>

#include "track_fixtures.h"

using fixture::ByteBuilder;
using fixture::Bytes;
using fixture::contents;
using fixture::findKey;
using fixture::Folder;
using fixture::saveToBytes;
using fixture::writeText;

// The largest single allocation since the last reset: a damaged count must be
// refused before the loader asks for memory sized by it.
static size_t largestAllocation = 0;

// These replace the global pair, so malloc and free are their matching calls.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    if (size > largestAllocation) largestAllocation = size;
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace {

constexpr size_t kSmallAllocation = 64 * 1024;
constexpr size_t kTerrainGrid = size_t{kTerrainMaxRows} * kTerrainMaxColumns * sizeof(float) + 1;

ZvTrack newTrack() {
    ZvTrack track;
    initNewZvTrack(&track);
    return track;
}

// Loads `file` into a new track and expects it refused, naming `key`, with
// `problem` in the message, the document unchanged and no allocation sized by
// the damage (a terrain grid, of fixed size, may be allocated).
void expectRefused(const Bytes& file, const char* key, const std::string& problem,
                   size_t allocationLimit = kSmallAllocation) {
    ZvTrack track = newTrack();
    const Bytes before = saveToBytes(track);
    ZvLoadReport report;
    largestAllocation = 0;
    EXPECT_EQ(ZvOpenMemory(file.data(), file.size(), &track, &report), 0);
    EXPECT_LT(largestAllocation, allocationLimit);
    EXPECT_NE(report.error.find(std::string("chunk \"") + key + "\" at byte "), std::string::npos)
        << report.error;
    EXPECT_NE(report.error.find(problem), std::string::npos) << report.error << " / " << problem;
    EXPECT_EQ(saveToBytes(track), before);
}

Bytes everyChunkBytes() {
    ZvTrack track;
    fixture::fillEveryChunk(&track);
    return saveToBytes(track);
}

Bytes truncated(const Bytes& bytes, size_t size) { return Bytes(bytes.begin(), bytes.begin() + size); }

// A file of 200 bytes: `head` padded with zeros.
Bytes twoHundredBytes(ByteBuilder head) {
    Bytes bytes = head.bytes();
    bytes.resize(200, 0);
    return bytes;
}

TEST(DamagedFile, CutShortInsideAnyChunkIsRefused) {
    const Bytes whole = everyChunkBytes();
    const char* keys[] = {"ZORV", "TRCK", "INFO", "BEZR", "SEGM", "SUPP", "FUND", "RASC",
                          "FREN", "TUBE", "CATW", "SCEN", "SCOB", "TERA", "ENVC"};
    for (const char* key : keys) {
        size_t at = findKey(whole, key);
        ASSERT_NE(at, fixture::npos) << key;
        // Fields of every chunk reach beyond 27 bytes; a cut may also show as a
        // count that no longer fits.
        expectRefused(truncated(whole, at + 10), key, "", kTerrainGrid);
        expectRefused(truncated(whole, at + 27), key, "", kTerrainGrid);
    }
    const char* pastTheEnd = "its fields run past the end of the file";
    expectRefused(truncated(whole, findKey(whole, "CSTM") - 10), "TERA", pastTheEnd, kTerrainGrid);
    expectRefused(truncated(whole, whole.size() - 5), "ENVC", pastTheEnd, kTerrainGrid);
}

TEST(DamagedFile, StrayBytesAtTheEndAreNotDamageButACutNestedCountIs) {
    const Bytes whole = everyChunkBytes();
    for (size_t cut : {size_t{1}, size_t{2}, size_t{3}}) {
        ZvTrack track;
        Bytes file = truncated(whole, whole.size() - cut);
        ZvLoadReport report;
        EXPECT_EQ(ZvOpenMemory(file.data(), file.size(), &track, &report), 1) << cut;
        EXPECT_NE(report.warning.find(std::to_string(4 - cut) + " stray bytes at byte "),
                  std::string::npos) << report.warning;
    }
    // SCEN and RASC read their nested count as a field of their own.
    const std::pair<const char*, const char*> cuts[] = {{"SCEN", "SCOB"}, {"RASC", "FREN"}};
    for (auto [key, next] : cuts) {
        expectRefused(truncated(whole, findKey(whole, next) - 2), key,
                      "its fields run past the end of the file", kTerrainGrid);
    }
}

TEST(DamagedFile, NegativeCountsAndLengthsAreRefused) {
    const Bytes whole = everyChunkBytes();
    struct Patch {
        const char* key;
        size_t offset;
        const char* problem;
    };
    const Patch patches[] = {
        {"BEZR", 24, "bezier count -1 is negative"},
        {"SEGM", 8, "segment count -1 is negative"},
        {"RASC", 28, "track node count -1 is negative"},
        {"INFO", 24, "text length -1 is negative"},
        {"CATW", 28 + 24, "data length -1 is negative"},
        {"TERA", 8, "terrain of -1 columns"},
    };
    for (const Patch& patch : patches) {
        Bytes file = whole;
        size_t at = findKey(file, patch.key) + patch.offset;
        for (size_t i = 0; i < 4; ++i) file[at + i] = 0xFF;
        expectRefused(file, patch.key, patch.problem);
    }
}

TEST(DamagedFile, CountsBeyondTheFileAreRefusedBeforeAllocating) {
    const struct {
        const char* key;
        ByteBuilder head;
        const char* problem;
    } cases[] = {
        {"TRCK", ByteBuilder().key("TRCK").integer(0).integer(0).integer(INT_MAX), "TRCK entry count"},
        {"BEZR", ByteBuilder().key("BEZR").integer(0).zeros(16).integer(INT_MAX), "bezier count"},
        {"SEGM", ByteBuilder().key("SEGM").integer(0).integer(INT_MAX), "segment count"},
        {"FUND", ByteBuilder().key("FUND").integer(0).zeros(16).integer(INT_MAX), "foundation node count"},
        {"RASC", ByteBuilder().key("RASC").integer(0).zeros(16).integer(INT_MAX), "track node list count"},
        {"RASC", ByteBuilder().key("RASC").integer(0).zeros(16).integer(1).integer(INT_MAX),
         "track node count"},
        {"FREN", ByteBuilder().key("FREN").integer(0).zeros(16).integer(INT_MAX), "free node count"},
        {"TUBE", ByteBuilder().key("TUBE").integer(0).zeros(16).integer(INT_MAX), "tube count"},
        {"CATW", ByteBuilder().key("CATW").integer(0).zeros(16).integer(INT_MAX), "CATW record count"},
        {"CATW", ByteBuilder().key("CATW").integer(0).zeros(16).integer(1).zeros(24).integer(INT_MAX),
         "data length"},
        {"SCEN", ByteBuilder().key("SCEN").integer(0).zeros(16).integer(INT_MAX), "SCEN record count"},
        {"SCOB", ByteBuilder().key("SCOB").integer(0).zeros(16).integer(INT_MAX), "SCOB record count"},
        {"INFO", ByteBuilder().key("INFO").integer(0).zeros(16).integer(INT_MAX), "text length"},
        {"ENVC", ByteBuilder().key("ENVC").integer(0).zeros(16).integer(0).integer(181), "text length 181"},
        {"TERA", ByteBuilder().key("TERA").integer(0).integer(1000).integer(640), "terrain height count"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        expectRefused(twoHundredBytes(c.head), c.key,
                      std::string(c.problem) + " ");
        ZvLoadReport report;
        ZvTrack track;
        Bytes file = twoHundredBytes(c.head);
        ZvOpenMemory(file.data(), file.size(), &track, &report);
        EXPECT_NE(report.error.find("bytes left"), std::string::npos) << report.error;
    }
}

TEST(DamagedFile, TerrainsLargerThanTheGridAreRefused) {
    const std::pair<int, int> sizes[] = {{1001, 1}, {10, 641}, {INT_MAX, INT_MAX}, {5, -3}};
    for (auto [columns, rows] : sizes) {
        expectRefused(fixture::terrainChunk(columns, rows), "TERA", "exceeds the grid");
    }
    ZvTrack track;
    Bytes full = fixture::terrainChunk(1000, 640);
    ASSERT_EQ(ZvOpenMemory(full.data(), full.size(), &track), 1);
    EXPECT_EQ(terrainHeight(&track, 639, 999), 639999.0f);
}

TEST(FailedOpen, MissingPathsAndFoldersAreRefusedWithTheirName) {
    Folder folder;
    ZvTrack track = newTrack();
    const Bytes before = saveToBytes(track);
    ZvLoadReport report;
    std::string missing = folder.file("missing.zvtrack");
    EXPECT_EQ(ZvOpen(missing.c_str(), &track, &report), 0);
    EXPECT_NE(report.error.find(missing), std::string::npos) << report.error;
    EXPECT_NE(report.error.find("No such file"), std::string::npos) << report.error;

    EXPECT_EQ(ZvOpen(folder.file("").c_str(), &track, &report), 0);
    EXPECT_NE(report.error.find("not a regular file"), std::string::npos) << report.error;
    EXPECT_EQ(ZvOpen("", &track, &report), 0);
    EXPECT_FALSE(report.error.empty());
    EXPECT_EQ(saveToBytes(track), before);

    std::string damaged = folder.file("damaged.zvtrack");
    writeText(damaged, "BEZR");
    EXPECT_EQ(ZvOpen(damaged.c_str(), &track, &report), 0);
    EXPECT_EQ(report.error.find(damaged + ": not a track file (it does not begin with \"ZORV\"): chunk \"BEZR\" at byte 0"),
              0u)
        << report.error;
}

TEST(FailedSave, TargetsThatCannotBeWrittenLeaveNothingBehind) {
    Folder folder;
    ZvTrack track = newTrack();
    std::string error;
    std::string directory = folder.file("track.zvtrack");
    mkdir(directory.c_str(), 0755);
    EXPECT_EQ(ZvSave(directory.c_str(), &track, &error), 0);
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;

    error.clear();
    EXPECT_EQ(ZvSave(folder.file("no folder/track.zvtrack").c_str(), &track, &error), 0);
    EXPECT_NE(error.find("no folder/track.zvtrack"), std::string::npos) << error;
    error.clear();
    EXPECT_EQ(ZvSave("", &track, &error), 0);
    EXPECT_FALSE(error.empty());

    std::string existing = folder.file("existing.zvtrack");
    writeText(existing, "old contents");
    track.hasTerrain = 1;
    track.terrainColumns = kTerrainMaxColumns + 1;  // cannot be written
    EXPECT_EQ(ZvSave(existing.c_str(), &track, &error), 0);
    EXPECT_EQ(contents(existing), "old contents");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"track.zvtrack", "existing.zvtrack"}));
}

TEST(FailedSave, AWriteThatFailsKeepsTheOldFile) {
    Folder folder;
    std::string target = folder.file("target.zvtrack");
    writeText(target, "old contents");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        ZvTrack track;
        fixture::fillEveryChunk(&track);  // a terrain makes it larger than the limit
        std::string error;
        int saved = ZvSave(target.c_str(), &track, &error);
        _exit(saved == 0 && error.find("failed") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(contents(target), "old contents");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"target.zvtrack"});

    char small[100];
    FILE* full = fmemopen(small, sizeof small, "wb");
    ZvTrack track = newTrack();
    EXPECT_EQ(ZvWrite(full, &track), 0);
    fclose(full);
}

TEST(Save, ReplacesTheTargetWithTheModeAnOrdinaryCreateGives) {
    Folder folder;
    ZvTrack track = newTrack();
    const Bytes expected = saveToBytes(track);
    mode_t previous = umask(022);
    std::string fresh = folder.file("fresh.zvtrack");
    ASSERT_EQ(ZvSave(fresh.c_str(), &track), 1);
    umask(previous);
    struct stat status;
    stat(fresh.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
    std::string written = contents(fresh);
    EXPECT_EQ(Bytes(written.begin(), written.end()), expected);

    std::string existing = folder.file("existing.zvtrack");
    writeText(existing, "old contents that are longer than nothing");
    chmod(existing.c_str(), 0600);
    ASSERT_EQ(ZvSave(existing.c_str(), &track), 1);
    stat(existing.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0600u) << "an existing file keeps its mode";
    EXPECT_EQ(contents(existing), written);
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"fresh.zvtrack", "existing.zvtrack"}));
}

}  // namespace
