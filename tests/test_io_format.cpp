// The bytes of saved tracks, and loading them back: sizes, chunk order, where
// every field stands, round trips and the tolerant key scan.
#include <gtest/gtest.h>

#include <cstring>

#include "track_fixtures.h"

using fixture::ByteBuilder;
using fixture::Bytes;
using fixture::findKey;
using fixture::saveToBytes;

namespace {

const char* const kSaverOrder[] = {"ZORV", "TRCK", "INFO", "BEZR", "SEGM", "SUPP",
                                   "FUND", "RASC", "FREN", "TUBE", "CATW", "SCEN",
                                   "SCOB", "TERA", "CSTM", "vrtx", "ENVC"};

Bytes slice(const Bytes& bytes, size_t at, size_t count) {
    if (at > bytes.size()) return {};
    return Bytes(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + count));
}
Bytes encodedInt(int value) { return ByteBuilder().integer(value).bytes(); }
Bytes encodedFloat(float value) { return ByteBuilder().real(value).bytes(); }
Bytes encodedColor(Color c) {
    return ByteBuilder().octet(c.alpha).octet(c.blue).octet(c.green).octet(c.red).bytes();
}

ZvTrack newTrack() {
    ZvTrack track;
    initNewZvTrack(&track);
    return track;
}

ZvTrack everyChunk() {
    ZvTrack track;
    fixture::fillEveryChunk(&track);
    return track;
}

// Offsets of the keys of the saver's order that the bytes hold, in that order.
std::vector<size_t> keyOffsets(const Bytes& bytes) {
    std::vector<size_t> offsets;
    size_t from = 0;
    for (const char* key : kSaverOrder) {
        size_t at = findKey(bytes, key, from);
        if (at == fixture::npos) continue;
        offsets.push_back(at);
        from = at + 4;
    }
    return offsets;
}

Bytes loadAndSave(const Bytes& file, ZvLoadReport* report = nullptr) {
    ZvTrack loaded;
    EXPECT_EQ(ZvOpenMemory(file.data(), file.size(), &loaded, report), 1);
    return saveToBytes(loaded);
}

TEST(SavedTrack, NewTrackIs1649BytesPlusItsCommentsAndStartsWithTheHeader) {
    ZvTrack track = newTrack();
    Bytes bytes = saveToBytes(track);
    EXPECT_EQ(bytes.size(), 1649 + std::strlen(kNewTrackComments));

    ByteBuilder head;
    head.key("ZORV").integer(0).octet(1).octet(6).zeros(3).octet(0xFF).zeros(14).integer(4);
    head.key("TRCK").integer(0x58).integer(1).integer(0x20).integer(6);
    EXPECT_EQ(slice(bytes, 0, head.bytes().size()), head.bytes());

    setAuthorComments("abc", &track);
    EXPECT_EQ(saveToBytes(track).size(), 1652u);
}

TEST(SavedTrack, ChunksFollowTheSaversOrderAndTerrainOnlyWhenPresent) {
    Bytes plain = saveToBytes(newTrack());
    EXPECT_EQ(keyOffsets(plain).size(), 16u);
    EXPECT_EQ(findKey(plain, "TERA"), fixture::npos);

    ZvTrack track = everyChunk();
    track.hasTerrain = 2;  // only exactly 1 means a terrain
    EXPECT_EQ(findKey(saveToBytes(track), "TERA"), fixture::npos);

    Bytes withTerrain = saveToBytes(everyChunk());
    std::vector<size_t> offsets = keyOffsets(withTerrain);
    ASSERT_EQ(offsets.size(), 17u);
    size_t scob = offsets[12], tera = offsets[13], cstm = offsets[14];
    EXPECT_LT(scob, tera);
    EXPECT_LT(tera, cstm);
    EXPECT_EQ(slice(withTerrain, scob - 4, 4), encodedInt(1));  // SCEN's nested count
    EXPECT_EQ(slice(withTerrain, 28, 4), encodedInt(4));        // ZORV's nested count
    EXPECT_EQ(slice(withTerrain, cstm - 4, 4), encodedInt(0));  // TERA's nested count

    Bytes custom = {0x43, 0x53, 0x54, 0x4D, 0, 0, 0, 0x0E, 0, 0, 0, 1, 0x76, 0x72,
                    0x74, 0x78, 0, 0, 0, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 'E', 'N', 'V', 'C'};
    EXPECT_EQ(slice(withTerrain, cstm, custom.size()), custom);
}

TEST(SavedTrack, SegmentAndEntrySizesFollowTheirContents) {
    ZvTrack track = newTrack();
    const size_t empty = saveToBytes(track).size();
    const std::pair<int, size_t> sizes[] = {{0, 37}, {1, 163}, {2, 73}, {3, 65},
                                            {4, 87}, {5, 37}, {-1, 37}};
    for (auto [type, size] : sizes) {
        SegmentRecord segment;
        segment.type = type;
        segment.typeDataLength = 999;  // carried only; never chooses the block
        track.segmentArray = {segment};
        EXPECT_EQ(saveToBytes(track).size() - empty, size) << "type " << type;
    }

    track = newTrack();
    track.trckEntries.clear();
    const size_t noEntries = saveToBytes(track).size();
    TrckEntry entry;
    entry.text = "abc";
    track.trckEntries = {entry};
    EXPECT_EQ(saveToBytes(track).size() - noEntries, 31u);
}

TEST(SavedTrack, MissingTextsAreEmptyStringsAndFlagsOtherThanOneAreFalse) {
    ZvTrack zero;
    zero.use16friction = 2;
    Bytes bytes = saveToBytes(zero);
    EXPECT_EQ(bytes[13], 0x00);
    size_t info = findKey(bytes, "INFO");
    EXPECT_EQ(slice(bytes, info + 24, 8), Bytes(8, 0));  // empty text, nested count 0
    size_t envc = findKey(bytes, "ENVC");
    EXPECT_EQ(slice(bytes, envc + 24, 8), Bytes(8, 0));
    EXPECT_EQ(bytes.size(), envc + 52);
}

// Spot checks of the saved bytes against the record layouts, field by field.
class FieldPlacement : public ::testing::Test {
protected:
    ZvTrack track = everyChunk();
    Bytes bytes = saveToBytes(track);
    size_t chunk(const char* key) { return findKey(bytes, key); }
    Bytes at(size_t offset, size_t count) { return slice(bytes, offset, count); }
};

TEST_F(FieldPlacement, HeaderAndTrackSettings) {
    EXPECT_EQ(at(4, 4), encodedInt(track.headerValue));
    EXPECT_EQ(at(8, 6), (Bytes{uint8_t(track.major), uint8_t(track.minor), uint8_t(track.revision),
                               uint8_t(track.markup), uint8_t(track.headerByte), 0xFF}));
    size_t trck = chunk("TRCK");
    EXPECT_EQ(at(trck + 8, 4), encodedInt(track.coasterStyle));
    EXPECT_EQ(at(trck + 12, 4), encodedInt(3));
    EXPECT_EQ(at(trck + 16, 4), encodedInt(track.trckValue));
    size_t second = trck + 20 + 28;  // the first entry has an empty text
    EXPECT_EQ(at(second + 8, 4 + track.trckEntries[1].text.size()),
              ByteBuilder().text(track.trckEntries[1].text).bytes());
    size_t colours = trck + 20 + 28 * 3 + track.trckEntries[1].text.size() +
                     track.trckEntries[2].text.size();
    EXPECT_EQ(at(colours, 4), encodedColor(track.trackColors[0]));
    EXPECT_EQ(at(colours + 32 + 4, 4), encodedInt(track.trckInt));
    EXPECT_EQ(at(colours + 32 + 9, 4), encodedColor(track.trckColor));
    size_t info = chunk("INFO");
    EXPECT_EQ(at(info + 24, 23), ByteBuilder().text(*track.ownedAuthorComments).bytes());
}

TEST_F(FieldPlacement, BeziersAndSegmentBlocks) {
    size_t bezr = chunk("BEZR");
    const BezierRecord& b = track.bezierArray[1];
    size_t record = bezr + 28 + 60;
    EXPECT_EQ(at(record + 12, 4), encodedFloat(b.controlIn.x));
    EXPECT_EQ(at(record + 32, 4), encodedFloat(b.controlOut.z));
    EXPECT_EQ(at(record + 36, 7), ByteBuilder().real(b.roll).octet(b.rollFlag ? 0xFF : 0)
                                      .octet(b.auxFlag1 ? 0xFF : 0).octet(0xFF).bytes());

    size_t segm = chunk("SEGM");
    EXPECT_EQ(at(segm + 8, 5), ByteBuilder().integer(6).octet(0xFF).bytes());
    const SegmentRecord& plain = track.segmentArray[0];
    size_t s = segm + 29;
    EXPECT_EQ(at(s, 4), encodedInt(0));
    EXPECT_EQ(at(s + 13, 4), encodedColor(plain.color3));
    EXPECT_EQ(at(s + 18, 4), encodedInt(plain.segmentValue));
    EXPECT_EQ(at(s + 33, 4), encodedInt(plain.typeDataLength));

    const SegmentRecord* seg = &track.segmentArray[1];
    size_t block = s + 37 + 37;  // station
    EXPECT_EQ(at(block + 28, 5), ByteBuilder().octet(0xFF).real(seg->station.station14).bytes());
    EXPECT_EQ(at(block + 65, 6), ByteBuilder().octet(seg->station.station21)
                                     .real(seg->station.station22).octet(0xFF).bytes());
    seg = &track.segmentArray[2];
    block += 126 + 37;  // lift
    EXPECT_EQ(at(block + 3, 1), Bytes{uint8_t(seg->lift.lift1)});
    EXPECT_EQ(at(block + 20, 6), ByteBuilder().octet(0xFF).octet(0xFF).integer(seg->lift.lift7).bytes());
    seg = &track.segmentArray[3];
    block += 36 + 37;  // transport
    EXPECT_EQ(at(block + 15, 9), ByteBuilder().octet(seg->transport.transport4).octet(0xFF).octet(0xFF)
                                     .octet(seg->transport.transport7).octet(seg->transport.transport8)
                                     .real(seg->transport.transport9).bytes());
    seg = &track.segmentArray[4];
    block += 28 + 37;  // brake
    EXPECT_EQ(at(block + 16, 4), encodedFloat(seg->brake.break4));
    EXPECT_EQ(at(block + 37, 11), ByteBuilder().octet(seg->brake.break13).integer(seg->brake.break14)
                                      .octet(0xFF).real(seg->brake.break16).octet(0xFF).bytes());
    EXPECT_EQ(at(block + 50, 4), encodedInt(7));  // the next segment's type
}

TEST_F(FieldPlacement, SupportRecords) {
    size_t fund = chunk("FUND") + 28;
    const FundNodeRecord& f = track.fundNodeArray[0];
    EXPECT_EQ(at(fund, 6), ByteBuilder().octet(0xFF).real(f.valueA)
                               .octet(f.angleFlag ? 0xFF : 0).bytes());
    EXPECT_EQ(at(fund + 6, 4), encodedFloat(f.angle));
    EXPECT_EQ(at(fund + 10, 5), ByteBuilder().octet(f.fundByte).integer(f.fundValue).bytes());
    EXPECT_EQ(at(fund + 16, 12), ByteBuilder().real(f.x).real(f.y).real(f.z).bytes());

    size_t rasc = chunk("RASC");
    EXPECT_EQ(at(rasc + 24, 16), ByteBuilder().integer(4).integer(0).integer(1)
                                     .integer(track.trackNodeLists[1].nodes[0].nodeType).bytes());
    EXPECT_EQ(at(rasc + 60, 4), encodedInt(2));  // the third list's count

    size_t fren = chunk("FREN") + 28 + 28;
    EXPECT_EQ(at(fren + 12, 4), encodedInt(track.freeNodeArray[1].freeValue));

    size_t tube = chunk("TUBE") + 28;
    const TubeRecord& t = track.tubeArray[0];
    EXPECT_EQ(at(tube + 8, 12), ByteBuilder().integer(t.index1).zeros(4).integer(t.kind2).bytes());
    EXPECT_EQ(at(tube + 32, 16), ByteBuilder().integer(t.tubeType).integer(t.tubeValue)
                                     .real(t.tubeSize).zeros(4).bytes());

    size_t catw = chunk("CATW") + 28 + 28;  // the first record has no data
    const CatwRecord& c = track.catwRecords[1];
    EXPECT_EQ(at(catw + 20, 9), ByteBuilder().integer(c.values[5]).integer(5)
                                    .octet(uint8_t(c.data[0])).bytes());
}

TEST_F(FieldPlacement, ScenerySupportsTerrainAndEnvironment) {
    size_t scen = chunk("SCEN") + 28 + 64;
    const ScenRecord& r = track.scenRecords[1];
    EXPECT_EQ(at(scen + 12, 8), ByteBuilder().integer(r.scenInt).real(r.scenFloat4).bytes());

    const ScobRecord& first = track.scobRecords[0];
    size_t scob = chunk("SCOB") + 28;
    size_t values = scob + 8 + first.text1.size() + first.text2.size();
    EXPECT_EQ(at(values + 60, 4), encodedFloat(first.values[15]));
    size_t next = values + 64 + 16;  // the trailing null run is 16 bytes
    EXPECT_EQ(at(next, 4 + track.scobRecords[1].text1.size()),
              ByteBuilder().text(track.scobRecords[1].text1).bytes());

    size_t tera = chunk("TERA");
    EXPECT_EQ(at(tera + 8, 8), ByteBuilder().integer(37).integer(23).bytes());
    size_t grid = tera + 24 + (4 + track.teraText1.size()) + 4 + (4 + track.teraText2.size()) +
                  4 + 1 + 4 + (4 + track.teraText3.size()) + 4 + 1 + 1 + 4 + 10;
    EXPECT_EQ(at(grid - 14, 4), encodedFloat(track.teraFloat7));
    EXPECT_EQ(at(grid + 37 * 4 + 4, 4), encodedFloat(101.0f));  // row 1, column 1
    EXPECT_EQ(at(grid + 37 * 23 * 4 + 16, 8), ByteBuilder().integer(0).key("CSTM").bytes());

    size_t envc = chunk("ENVC");
    EXPECT_EQ(at(envc + 24, 4 + track.envcText1.size()), ByteBuilder().text(track.envcText1).bytes());
}

TEST(LoadedTrack, EveryChunkSurvivesALoadAndSaveByteForByte) {
    ZvTrack original = everyChunk();
    Bytes saved = saveToBytes(original);
    ZvTrack loaded;
    ZvLoadReport report;
    ASSERT_EQ(ZvOpenMemory(saved.data(), saved.size(), &loaded, &report), 1) << report.error;
    EXPECT_EQ(report.chunksRead, 15);
    EXPECT_TRUE(report.warning.empty());
    EXPECT_EQ(saveToBytes(loaded), saved);

    EXPECT_EQ(std::string(loaded.authorComments, 19), *original.ownedAuthorComments);
    EXPECT_EQ(terrainHeight(&loaded, 22, 36), 2236.0f);
    EXPECT_EQ(loaded.scenTrailer, 1);
    EXPECT_EQ(loaded.segmentArray[5].type, 7);
    EXPECT_EQ(loaded.catwRecords[2].data, original.catwRecords[2].data);
    EXPECT_EQ(loaded.scobRecords[2].values, original.scobRecords[2].values);
    EXPECT_EQ(loaded.trackColors[7].red, original.trackColors[7].red);

    // A copy keeps its comments alive on its own.
    ZvTrack copy = loaded;
    loaded = ZvTrack();
    EXPECT_EQ(std::string(copy.authorComments, 19), *original.ownedAuthorComments);
}

TEST(LoadedTrack, ChunksInAnyOrderWithUnknownGroupsAndStrayBytesLoadTheSame) {
    Bytes saved = saveToBytes(everyChunk());
    std::vector<size_t> cut = keyOffsets(saved);
    cut.erase(cut.begin() + 14, cut.begin() + 16);  // CSTM and vrtx stay with TERA
    cut.push_back(saved.size());
    std::vector<Bytes> chunks;
    for (size_t i = 0; i + 1 < cut.size(); ++i) chunks.push_back(slice(saved, cut[i], cut[i + 1] - cut[i]));
    ASSERT_EQ(chunks.size(), 15u);

    Bytes oldBeziers = slice(saveToBytes(newTrack()), findKey(saveToBytes(newTrack()), "BEZR"), 108);
    ByteBuilder shuffled;
    shuffled.append(chunks[14]).key("JUNK").append(chunks[0]).append(chunks[12]).append(oldBeziers);
    for (size_t i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}) shuffled.append(chunks[i]);
    shuffled.octet(0x12).octet(0x34);

    ZvLoadReport report;
    EXPECT_EQ(loadAndSave(shuffled.bytes(), &report), saved);
    EXPECT_EQ(report.chunksRead, 16);
    EXPECT_NE(report.warning.find("2 stray bytes"), std::string::npos) << report.warning;
}

TEST(LoadedTrack, ChunksTheFileLacksKeepTheirFields) {
    ZvTrack track = everyChunk();
    Bytes before = saveToBytes(track);
    ZvLoadReport report;
    EXPECT_EQ(ZvOpenMemory(nullptr, 0, &track, &report), 1);
    EXPECT_EQ(report.chunksRead, 0);
    Bytes noKeys(103, 'x');
    EXPECT_EQ(ZvOpenMemory(noKeys.data(), noKeys.size(), &track, &report), 1);
    EXPECT_EQ(report.chunksRead, 0);
    EXPECT_EQ(saveToBytes(track), before);

    Bytes header = ByteBuilder().key("ZORV").integer(5).octet(2).octet(3).octet(4).octet(5)
                       .octet(6).octet(0x01).zeros(14).integer(4).bytes();
    ASSERT_EQ(ZvOpenMemory(header.data(), header.size(), &track, &report), 1);
    EXPECT_EQ(report.chunksRead, 1);
    EXPECT_EQ(track.major, 2);
    EXPECT_EQ(track.headerByte, 6);
    EXPECT_EQ(track.use16friction, 0);  // 0x01 is not true
    Bytes after = saveToBytes(track);
    EXPECT_EQ(slice(after, 32, after.size()), slice(before, 32, before.size()));
}

TEST(LoadedTrack, ANarrowTerrainFillsOnlyItsCells) {
    ZvTrack track = everyChunk();
    Bytes file = fixture::terrainChunk(3, 2);
    ASSERT_EQ(ZvOpenMemory(file.data(), file.size(), &track), 1);
    EXPECT_EQ(track.terrainColumns, 3);
    EXPECT_EQ(terrainHeight(&track, 1, 2), 1002.0f);  // from the file
    EXPECT_EQ(terrainHeight(&track, 1, 3), 103.0f);   // as it was
    EXPECT_EQ(terrainHeight(&track, 5, 0), 500.0f);

    ZvTrack zero;
    ASSERT_EQ(ZvOpenMemory(file.data(), file.size(), &zero), 1);
    EXPECT_EQ(zero.hasTerrain, 1);
    EXPECT_EQ(terrainHeight(&zero, 0, 1), 1.0f);
    EXPECT_NE(findKey(saveToBytes(zero), "TERA"), fixture::npos);
}

TEST(LoadedTrack, SceneryNestedCountIsKeptButSavedAsOne) {
    Bytes file = ByteBuilder().key("SCEN").integer(40).zeros(16).integer(0).zeros(16).integer(2)
                     .key("CSTM").integer(3).integer(0x11223344).key("ENVC").integer(9).zeros(16)
                     .text("e1").text("e2").zeros(16).integer(0).bytes();
    ZvTrack track;
    ASSERT_EQ(ZvOpenMemory(file.data(), file.size(), &track), 1);
    EXPECT_EQ(track.scenTrailer, 2);
    EXPECT_EQ(track.envcText2, "e2");  // found after a CSTM of other contents
    Bytes saved = saveToBytes(track);
    EXPECT_EQ(slice(saved, findKey(saved, "SCOB") - 4, 4), encodedInt(1));
}

TEST(LoadedTrack, FilesSavedToDiskLoadBack) {
    char folder[] = "/tmp/zvtrack-io-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string path = std::string(folder) + "/every chunk.zvtrack";
    ZvTrack track = everyChunk();
    std::string error;
    ASSERT_EQ(ZvSave(path.c_str(), &track, &error), 1) << error;
    ZvTrack loaded;
    ZvLoadReport report;
    ASSERT_EQ(ZvOpen(path.c_str(), &loaded, &report), 1) << report.error;
    EXPECT_EQ(saveToBytes(loaded), saveToBytes(track));
    remove(path.c_str());
    rmdir(folder);
}

}  // namespace
