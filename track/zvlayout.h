// The layout of every chunk body and record of a .zvtrack file, written once
// for both directions. Each function walks the fields in file order and hands
// each one to `io`, which is either the loader's reader (fields are filled) or
// the saver's writer (fields are written); the record type is then const.
//
// An io provides: byte, boolean, integer, real, color, nulls(n), text,
// count(vector, minimum record bytes, noun), records(vector, layout, noun),
// blob(vector<char>), authorComments(track), terrainSize(track) and
// terrainGrid(track).
//
// Records of a fixed stored size are described by a layout type (below):
// records() handles their count and all of them, so the reader and the writer
// can check the room for a whole record, or a whole run of them, once instead
// of for every field; the layout's fields() then runs on a cursor that only
// encodes or decodes.
//
// A body starts with the chunk's length word (the key is the caller's) and
// ends before the chunk's nested count, which the caller handles.
#pragma once

#include <cstddef>

#include "libzvtrack.h"
#include "zvtrack.h"

namespace zvlayout {

// Smallest stored sizes, by which a record count is checked against the bytes
// a file has left before anything is allocated.
constexpr size_t kTrckEntryMinSize = 28;
constexpr size_t kCatwRecordMinSize = 28;
constexpr size_t kScenRecordSize = 64;
constexpr size_t kScobRecordMinSize = 4 + 4 + 64 + 16;

// Null runs of the format.
constexpr size_t kChunkPadding = 16;  // after most length words and before most nested counts
constexpr size_t kZorvPadding = 14;
constexpr size_t kSuppPadding = 32;
constexpr size_t kTrckTailPadding = 3;
constexpr size_t kBezierPadding = 17;
constexpr size_t kSegmentPadding = 11;
constexpr size_t kFundPadding = 64;
constexpr size_t kFreeNodePadding = 12;
constexpr size_t kTubeGap = 4;
constexpr size_t kScenRecordPadding = 44;
constexpr size_t kScobRecordPadding = 16;  // the loader and the saver agree on it
constexpr size_t kTeraPadding = 10;
constexpr size_t kTrckEntryPadding = 7;

// Chunk framing. Every count, length word and nested count is an Int.
constexpr size_t kIntSize = 4;
// What a length word counts around the records of a chunk that holds a
// counted list (BEZR, FUND, RASC, FREN, TUBE, CATW, SCOB): the null run, the
// count, the closing null run and the nested count.
constexpr size_t kCountedChunkFrame = kChunkPadding + kIntSize + kChunkPadding + kIntSize;
// The same for ENVC, whose two texts each carry an Int length.
constexpr size_t kEnvcFrame = kChunkPadding + 2 * kIntSize + kChunkPadding + kIntSize;

template <class IO, class P>
constexpr void point(IO& io, P& p) {
    io.real(p.x);
    io.real(p.y);
    io.real(p.z);
}

template <class IO, class Array>
void colors(IO& io, Array& list) {
    for (auto& color : list) io.color(color);
}

// The fixed-size records: kSize stored bytes, written by fields(io, record).

struct BezierLayout {
    static constexpr size_t kSize = kBezierRecordSize;
    template <class IO, class B>
    static constexpr void fields(IO& io, B& bezier) {
        point(io, bezier.position);
        point(io, bezier.controlIn);
        point(io, bezier.controlOut);
        io.real(bezier.roll);
        io.boolean(bezier.rollFlag);
        io.boolean(bezier.auxFlag1);
        io.boolean(bezier.auxFlag2);
        io.nulls(kBezierPadding);
    }
};

struct FundNodeLayout {
    static constexpr size_t kSize = kFundNodeRecordSize;
    template <class IO, class N>
    static constexpr void fields(IO& io, N& node) {
        io.boolean(node.flagA);
        io.real(node.valueA);
        io.boolean(node.angleFlag);
        io.real(node.angle);
        io.byte(node.fundByte);
        io.integer(node.fundValue);
        io.nulls(1);
        point(io, node);
        io.nulls(kFundPadding);
    }
};

struct TrackNodeLayout {
    static constexpr size_t kSize = kTrackNodeRecordSize;
    template <class IO, class N>
    static constexpr void fields(IO& io, N& node) {
        io.integer(node.nodeType);
        io.real(node.segmentPos);
        io.nulls(kChunkPadding);
    }
};

struct FreeNodeLayout {
    static constexpr size_t kSize = kFreeNodeRecordSize;
    template <class IO, class N>
    static constexpr void fields(IO& io, N& node) {
        point(io, node);
        io.integer(node.freeValue);
        io.nulls(kFreeNodePadding);
    }
};

struct TubeLayout {
    static constexpr size_t kSize = kTubeRecordSize;
    template <class IO, class R>
    static constexpr void fields(IO& io, R& record) {
        io.integer(record.kind1);
        io.integer(record.segment1);
        io.integer(record.index1);
        io.nulls(kTubeGap);
        io.integer(record.kind2);
        io.integer(record.segment2);
        io.integer(record.index2);
        io.nulls(kTubeGap);
        io.integer(record.tubeType);
        io.integer(record.tubeValue);
        io.real(record.tubeSize);
        io.nulls(kTubeGap);
    }
};

struct ScenLayout {
    static constexpr size_t kSize = kScenRecordSize;
    template <class IO, class R>
    static constexpr void fields(IO& io, R& record) {
        io.real(record.scenFloat1);
        io.real(record.scenFloat2);
        io.real(record.scenFloat3);
        io.integer(record.scenInt);
        io.real(record.scenFloat4);
        io.nulls(kScenRecordPadding);
    }
};

// Counts the bytes a layout's fields take, so that the sizes the fast paths
// rely on are checked when this header is compiled.
class StoredSize {
public:
    constexpr void byte(int8_t) { bytes_ += 1; }
    constexpr void boolean(int) { bytes_ += 1; }
    constexpr void integer(int) { bytes_ += 4; }
    constexpr void real(float) { bytes_ += 4; }
    constexpr void nulls(size_t count) { bytes_ += count; }
    constexpr size_t bytes() const { return bytes_; }

    template <class Layout, class Record>
    static constexpr size_t of() {
        StoredSize counter;
        Record record{};
        Layout::fields(counter, record);
        return counter.bytes();
    }

private:
    size_t bytes_ = 0;
};

static_assert(StoredSize::of<BezierLayout, BezierRecord>() == BezierLayout::kSize);
static_assert(StoredSize::of<FundNodeLayout, FundNodeRecord>() == FundNodeLayout::kSize);
static_assert(StoredSize::of<TrackNodeLayout, TrackNodeRecord>() == TrackNodeLayout::kSize);
static_assert(StoredSize::of<FreeNodeLayout, FreeNodeRecord>() == FreeNodeLayout::kSize);
static_assert(StoredSize::of<TubeLayout, TubeRecord>() == TubeLayout::kSize);
static_assert(StoredSize::of<ScenLayout, ScenRecord>() == ScenLayout::kSize);

template <class IO, class T>
void zorv(IO& io, T& t) {
    io.integer(t.headerValue);
    io.byte(t.major);
    io.byte(t.minor);
    io.byte(t.revision);
    io.byte(t.markup);
    io.byte(t.headerByte);
    io.boolean(t.use16friction);
    io.nulls(kZorvPadding);
}

template <class IO, class T>
void trck(IO& io, T& t) {
    io.integer(t.trckLength);
    io.integer(t.coasterStyle);
    io.count(t.trckEntries, kTrckEntryMinSize, "TRCK entry");
    io.integer(t.trckValue);
    for (auto& entry : t.trckEntries) {
        io.boolean(entry.flag);
        io.nulls(kTrckEntryPadding);
        io.text(entry.text);
        colors(io, entry.colors);
    }
    colors(io, t.trackColors);
    for (auto& value : t.trckBytes) io.byte(value);
    io.integer(t.trckInt);
    io.boolean(t.trckFlag);
    io.color(t.trckColor);
    io.nulls(kTrckTailPadding);
}

template <class IO, class T>
void info(IO& io, T& t) {
    io.integer(t.infoLength);
    io.nulls(kChunkPadding);
    io.authorComments(t);
}

template <class IO, class T>
void bezr(IO& io, T& t) {
    io.integer(t.bezrLength);
    io.nulls(kChunkPadding);
    io.records(t.bezierArray, BezierLayout{}, "bezier");
    io.nulls(kChunkPadding);
}

template <class IO, class S>
void station(IO& io, S& s) {
    io.real(s.station1);
    io.real(s.station2);
    io.real(s.station3);
    io.real(s.station4);
    io.byte(s.station5);
    io.byte(s.station6);
    io.boolean(s.station7);
    io.byte(s.station8);
    io.real(s.station9);
    io.byte(s.station10);
    io.byte(s.station11);
    io.boolean(s.station12);
    io.nulls(1);
    io.boolean(s.station13);
    io.real(s.station14);
    io.nulls(4);
    io.real(s.station15);
    io.real(s.station16);
    io.nulls(4);
    io.boolean(s.station17);
    io.real(s.station18);
    io.real(s.station19);
    io.real(s.station20);
    io.nulls(3);
    io.byte(s.station21);
    io.real(s.station22);
    io.boolean(s.station23);
    io.nulls(55);
}

template <class IO, class S>
void lift(IO& io, S& s) {
    io.nulls(3);
    io.byte(s.lift1);
    io.real(s.lift2);
    io.real(s.lift3);
    io.real(s.lift4);
    io.nulls(4);
    io.boolean(s.lift5);
    io.boolean(s.lift6);
    io.integer(s.lift7);
    io.nulls(10);
}

template <class IO, class S>
void transport(IO& io, S& s) {
    io.real(s.transport1);
    io.real(s.transport2);
    io.real(s.transport3);
    io.nulls(3);
    io.byte(s.transport4);
    io.boolean(s.transport5);
    io.boolean(s.transport6);
    io.byte(s.transport7);
    io.byte(s.transport8);
    io.real(s.transport9);
    io.nulls(4);
}

template <class IO, class S>
void brake(IO& io, S& s) {
    io.real(s.break1);
    io.real(s.break2);
    io.real(s.break3);
    io.nulls(4);
    io.real(s.break4);
    io.boolean(s.break5);
    io.boolean(s.break6);
    io.real(s.break7);
    io.real(s.break8);
    io.real(s.break9);
    io.boolean(s.break10);
    io.boolean(s.break11);
    io.boolean(s.break12);
    io.byte(s.break13);
    io.integer(s.break14);
    io.boolean(s.break15);
    io.real(s.break16);
    io.boolean(s.break17);
    io.nulls(2);
}

// The type block follows `type` alone; typeDataLength is only carried.
template <class IO, class S>
void segment(IO& io, S& s) {
    io.integer(s.type);
    io.boolean(s.segmentFlag);
    io.color(s.color1);
    io.color(s.color2);
    io.color(s.color3);
    io.boolean(s.segmentFlag2);
    io.integer(s.segmentValue);
    io.nulls(kSegmentPadding);
    io.integer(s.typeDataLength);
    switch (s.type) {
        case kSegmentStation: station(io, s.station); break;
        case kSegmentLift: lift(io, s.lift); break;
        case kSegmentTransport: transport(io, s.transport); break;
        case kSegmentBrake: brake(io, s.brake); break;
        default: break;
    }
}

template <class IO, class T>
void segm(IO& io, T& t) {
    io.integer(t.segmLength);
    io.count(t.segmentArray, kSegmentRecordSize, "segment");
    io.boolean(t.closedTrack);
    io.nulls(kChunkPadding);
    for (auto& record : t.segmentArray) segment(io, record);
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void supp(IO& io, T& t) {
    io.integer(t.suppLength);
    io.nulls(kSuppPadding);
}

template <class IO, class T>
void fund(IO& io, T& t) {
    io.integer(t.fundLength);
    io.nulls(kChunkPadding);
    io.records(t.fundNodeArray, FundNodeLayout{}, "foundation node");
    io.nulls(kChunkPadding);
}

// Ends after the closing null run; the nested count is the caller's.
template <class IO, class T>
void rasc(IO& io, T& t) {
    io.integer(t.rascLength);
    io.nulls(kChunkPadding);
    io.count(t.trackNodeLists, kTrackNodeListSize, "track node list");
    for (auto& list : t.trackNodeLists) io.records(list.nodes, TrackNodeLayout{}, "track node");
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void fren(IO& io, T& t) {
    io.integer(t.frenLength);
    io.nulls(kChunkPadding);
    io.records(t.freeNodeArray, FreeNodeLayout{}, "free node");
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void tube(IO& io, T& t) {
    io.integer(t.tubeLength);
    io.nulls(kChunkPadding);
    io.records(t.tubeArray, TubeLayout{}, "tube");
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void catw(IO& io, T& t) {
    io.integer(t.catwLength);
    io.nulls(kChunkPadding);
    io.count(t.catwRecords, kCatwRecordMinSize, "CATW record");
    for (auto& record : t.catwRecords) {
        for (auto& value : record.values) io.integer(value);
        io.blob(record.data);
    }
    io.nulls(kChunkPadding);
}

// Ends after the closing null run; the nested count is the caller's.
template <class IO, class T>
void scen(IO& io, T& t) {
    io.integer(t.scenLength);
    io.nulls(kChunkPadding);
    io.records(t.scenRecords, ScenLayout{}, "SCEN record");
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void scob(IO& io, T& t) {
    io.integer(t.scobLength);
    io.nulls(kChunkPadding);
    io.count(t.scobRecords, kScobRecordMinSize, "SCOB record");
    for (auto& record : t.scobRecords) {
        io.text(record.text1);
        io.text(record.text2);
        for (auto& value : record.values) io.real(value);
        io.nulls(kScobRecordPadding);
    }
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void tera(IO& io, T& t) {
    io.integer(t.teraValue);
    io.terrainSize(t);
    io.real(t.teraFloat1);
    io.real(t.teraFloat2);
    io.text(t.teraText1);
    io.real(t.teraFloat3);
    io.text(t.teraText2);
    io.real(t.teraFloat4);
    io.boolean(t.teraFlag1);
    io.real(t.teraFloat5);
    io.text(t.teraText3);
    io.real(t.teraFloat6);
    io.byte(t.teraByte);
    io.boolean(t.teraFlag2);
    io.real(t.teraFloat7);
    io.nulls(kTeraPadding);
    io.terrainGrid(t);
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void envc(IO& io, T& t) {
    io.integer(t.envcLength);
    io.nulls(kChunkPadding);
    io.text(t.envcText1);
    io.text(t.envcText2);
    io.nulls(kChunkPadding);
}

// The body of the chunk with key code `key`; false for a code that names none.
template <class IO, class T>
bool body(int key, IO& io, T& t) {
    switch (key) {
        case kKeyZORV: zorv(io, t); return true;
        case kKeyTRCK: trck(io, t); return true;
        case kKeyINFO: info(io, t); return true;
        case kKeyBEZR: bezr(io, t); return true;
        case kKeySEGM: segm(io, t); return true;
        case kKeySUPP: supp(io, t); return true;
        case kKeyFUND: fund(io, t); return true;
        case kKeyRASC: rasc(io, t); return true;
        case kKeyFREN: fren(io, t); return true;
        case kKeyTUBE: tube(io, t); return true;
        case kKeyCATW: catw(io, t); return true;
        case kKeySCEN: scen(io, t); return true;
        case kKeySCOB: scob(io, t); return true;
        case kKeyTERA: tera(io, t); return true;
        case kKeyENVC: envc(io, t); return true;
        default: return false;
    }
}

}  // namespace zvlayout
