// Long runs of fixed-size records: the saver writes them a whole record at a
// time into blocks it hands over when full, the loader decodes a run after one
// check. Runs that span several blocks must keep every record's bytes, and the
// records must load back as they were.
#include <gtest/gtest.h>

#include "track_fixtures.h"

using fixture::ByteBuilder;
using fixture::Bytes;

namespace {

// Enough of each kind that every run spans a few of the saver's blocks, with
// records cut by a block's end at many different offsets.
constexpr int kFreeNodes = 12000;  // 28 bytes each
constexpr int kTubes = 7000;       // 48 bytes each
constexpr int kFundNodes = 4000;   // 92 bytes each
// Key, length word, null run and count in front of each run of records.
constexpr size_t kRunHeader = 28;

ZvTrack manyRecords() {
    ZvTrack track;
    initNewZvTrack(&track);
    for (int i = 0; i < kFreeNodes; ++i) {
        addFreeNode(i * 0.5f, -i * 0.25f, i + 0.125f, &track);
        track.freeNodeArray.back().freeValue = 7 * i - 3;
    }
    for (int i = 0; i < kTubes; ++i) {
        addSupport(i % 3 + 1, i, -i, 3 - i % 3, 2 * i, i / 2, i % 7 - 3, 31 * i, i % 50, &track);
    }
    for (int i = 0; i < kFundNodes; ++i) {
        addFundNode(i % 3, i * 1.5f, (i + 1) % 2, -i * 0.01f, static_cast<int8_t>(i % 256 - 128),
                    -i, i * 2.0f, 0.0f, -i * 3.0f, &track);
    }
    return track;
}

Bytes freeNodeBytes(const FreeNodeRecord& n) {
    return ByteBuilder().real(n.x).real(n.y).real(n.z).integer(n.freeValue).zeros(12).bytes();
}

Bytes tubeBytes(const TubeRecord& t) {
    return ByteBuilder().integer(t.kind1).integer(t.segment1).integer(t.index1).zeros(4)
        .integer(t.kind2).integer(t.segment2).integer(t.index2).zeros(4)
        .integer(t.tubeType).integer(t.tubeValue).real(t.tubeSize).zeros(4).bytes();
}

// Flags other than 1 are saved as false.
Bytes fundNodeBytes(const FundNodeRecord& f) {
    return ByteBuilder().octet(f.flagA == 1 ? 0xFF : 0).real(f.valueA)
        .octet(f.angleFlag == 1 ? 0xFF : 0).real(f.angle).octet(static_cast<uint8_t>(f.fundByte))
        .integer(f.fundValue).zeros(1).real(f.x).real(f.y).real(f.z).zeros(64).bytes();
}

// The records of the run in chunk `key`, `size` bytes each, as saved.
class SavedRun {
public:
    SavedRun(const Bytes& file, const char* key, size_t size)
        : file_(file), start_(fixture::findKey(file, key) + kRunHeader), size_(size) {}

    Bytes record(int i) const {
        const size_t at = start_ + size_ * static_cast<size_t>(i);
        if (at > file_.size() || at + size_ > file_.size()) return {};
        return Bytes(file_.begin() + static_cast<long>(at),
                     file_.begin() + static_cast<long>(at + size_));
    }

private:
    const Bytes& file_;
    size_t start_;
    size_t size_;
};

TEST(RecordRuns, EveryRecordAcrossTheWriteBlocksKeepsItsBytes) {
    const ZvTrack track = manyRecords();
    const Bytes file = fixture::saveToBytes(track);
    const SavedRun freeNodes(file, "FREN", kFreeNodeRecordSize);
    const SavedRun tubes(file, "TUBE", kTubeRecordSize);
    const SavedRun fundNodes(file, "FUND", kFundNodeRecordSize);
    for (int i = 0; i < kFreeNodes; ++i) {
        ASSERT_EQ(freeNodes.record(i),
                  freeNodeBytes(track.freeNodeArray[static_cast<size_t>(i)])) << "free node " << i;
    }
    for (int i = 0; i < kTubes; ++i) {
        ASSERT_EQ(tubes.record(i),
                  tubeBytes(track.tubeArray[static_cast<size_t>(i)])) << "tube " << i;
    }
    for (int i = 0; i < kFundNodes; ++i) {
        ASSERT_EQ(fundNodes.record(i),
                  fundNodeBytes(track.fundNodeArray[static_cast<size_t>(i)])) << "foundation node " << i;
    }
}

TEST(RecordRuns, LongRunsLoadBackAsTheyWereSaved) {
    const ZvTrack saved = manyRecords();
    const Bytes file = fixture::saveToBytes(saved);
    ZvTrack loaded;
    ASSERT_EQ(ZvOpenMemory(file.data(), file.size(), &loaded, nullptr), 1);

    ASSERT_EQ(loaded.freeNodeArray.size(), saved.freeNodeArray.size());
    for (size_t i = 0; i < saved.freeNodeArray.size(); ++i) {
        ASSERT_EQ(freeNodeBytes(loaded.freeNodeArray[i]), freeNodeBytes(saved.freeNodeArray[i]));
    }
    ASSERT_EQ(loaded.tubeArray.size(), saved.tubeArray.size());
    for (size_t i = 0; i < saved.tubeArray.size(); ++i) {
        ASSERT_EQ(tubeBytes(loaded.tubeArray[i]), tubeBytes(saved.tubeArray[i]));
    }
    ASSERT_EQ(loaded.fundNodeArray.size(), saved.fundNodeArray.size());
    for (size_t i = 0; i < saved.fundNodeArray.size(); ++i) {
        const FundNodeRecord& f = loaded.fundNodeArray[i];
        const FundNodeRecord& expected = saved.fundNodeArray[i];
        ASSERT_EQ(f.flagA, expected.flagA == 1 ? 1 : 0);
        ASSERT_EQ(f.angleFlag, expected.angleFlag == 1 ? 1 : 0);
        ASSERT_EQ(f.fundByte, expected.fundByte);
        ASSERT_EQ(fundNodeBytes(f), fundNodeBytes(expected));
    }
    EXPECT_EQ(fixture::saveToBytes(loaded), file);
}

}  // namespace
