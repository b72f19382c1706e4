// The layout of every chunk body and record of a .zvtrack file, written once
// for loading, saving and the dump. Each function walks the fields in file
// order and hands each one, with its name in the document, to `io`: the
// loader's reader (fields are filled), the saver's writer (fields are written;
// the record type is then const) or the dump's JSON walk (fields are shown
// under their names). The reader and the writer derive from Unnamed: names
// and groups mean nothing to them and compile away.
//
// An io provides, each with the field's name first: byte, boolean, integer,
// real, color, text, blob(vector<char>), authorComments(track),
// terrainGrid(track), records(vector, layout, noun), object(fields()) for a
// group of fields and list(list, element(item)) for a vector or array, whose
// elements are named kElement; and without a name: nulls(n), count(vector,
// minimum record bytes, noun) and checkTerrainSize(track).
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
#include <cstring>

#include "libzvtrack.h"
#include "zvbytes.h"
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

// The name of a list's elements: they go by their place.
constexpr const char* kElement = nullptr;

// What an io that stores only the values does with names and groups: nothing.
// A group's fields and a list's elements are stored one after another.
struct Unnamed {
    template <class Fields>
    constexpr void object(const char*, Fields fields) {
        fields();
    }
    template <class List, class Element>
    constexpr void list(const char*, List& list, Element element) {
        for (auto& item : list) element(item);
    }
};

// A list whose elements are each a group of fields.
template <class IO, class List, class Fields>
constexpr void objects(IO& io, const char* name, List& list, Fields fields) {
    io.list(name, list, [&](auto& item) { io.object(kElement, [&] { fields(item); }); });
}

template <class IO, class P>
constexpr void point(IO& io, P& p) {
    io.real("x", p.x);
    io.real("y", p.y);
    io.real("z", p.z);
}

// A point that is a field of its own.
template <class IO, class P>
constexpr void point(IO& io, const char* name, P& p) {
    io.object(name, [&] { point(io, p); });
}

template <class IO, class Array>
void colors(IO& io, const char* name, Array& list) {
    io.list(name, list, [&](auto& color) { io.color(kElement, color); });
}

// The fixed-size records: kSize stored bytes, written by fields(io, record).

struct BezierLayout {
    static constexpr size_t kSize = kBezierRecordSize;
    template <class IO, class B>
    static constexpr void fields(IO& io, B& bezier) {
        point(io, "position", bezier.position);
        point(io, "controlIn", bezier.controlIn);
        point(io, "controlOut", bezier.controlOut);
        io.real("roll", bezier.roll);
        io.boolean("rollFlag", bezier.rollFlag);
        io.boolean("auxFlag1", bezier.auxFlag1);
        io.boolean("auxFlag2", bezier.auxFlag2);
        io.nulls(kBezierPadding);
    }
};

struct FundNodeLayout {
    static constexpr size_t kSize = kFundNodeRecordSize;
    template <class IO, class N>
    static constexpr void fields(IO& io, N& node) {
        io.boolean("flagA", node.flagA);
        io.real("valueA", node.valueA);
        io.boolean("angleFlag", node.angleFlag);
        io.real("angle", node.angle);
        io.byte("fundByte", node.fundByte);
        io.integer("fundValue", node.fundValue);
        io.nulls(1);
        point(io, node);
        io.nulls(kFundPadding);
    }
};

struct TrackNodeLayout {
    static constexpr size_t kSize = kTrackNodeRecordSize;
    template <class IO, class N>
    static constexpr void fields(IO& io, N& node) {
        io.integer("nodeType", node.nodeType);
        io.real("segmentPos", node.segmentPos);
        io.nulls(kChunkPadding);
    }
};

struct FreeNodeLayout {
    static constexpr size_t kSize = kFreeNodeRecordSize;
    template <class IO, class N>
    static constexpr void fields(IO& io, N& node) {
        point(io, node);
        io.integer("freeValue", node.freeValue);
        io.nulls(kFreeNodePadding);
    }
};

struct TubeLayout {
    static constexpr size_t kSize = kTubeRecordSize;
    template <class IO, class R>
    static constexpr void fields(IO& io, R& record) {
        io.integer("kind1", record.kind1);
        io.integer("segment1", record.segment1);
        io.integer("index1", record.index1);
        io.nulls(kTubeGap);
        io.integer("kind2", record.kind2);
        io.integer("segment2", record.segment2);
        io.integer("index2", record.index2);
        io.nulls(kTubeGap);
        io.integer("tubeType", record.tubeType);
        io.integer("tubeValue", record.tubeValue);
        io.real("tubeSize", record.tubeSize);
        io.nulls(kTubeGap);
    }
};

struct ScenLayout {
    static constexpr size_t kSize = kScenRecordSize;
    template <class IO, class R>
    static constexpr void fields(IO& io, R& record) {
        io.real("scenFloat1", record.scenFloat1);
        io.real("scenFloat2", record.scenFloat2);
        io.real("scenFloat3", record.scenFloat3);
        io.integer("scenInt", record.scenInt);
        io.real("scenFloat4", record.scenFloat4);
        io.nulls(kScenRecordPadding);
    }
};

// Writes the fields of fixed-size records one after another from `at` on,
// without bounds checks: the caller has made room for all of them.
class FieldEncoder : public Unnamed {
public:
    explicit FieldEncoder(unsigned char* at) : at_(at) {}

    void byte(const char*, int8_t value) { *at_++ = static_cast<unsigned char>(value); }
    void boolean(const char*, int value) { *at_++ = zvbytes::encodeBool(value); }
    void integer(const char*, int value) { zvbytes::encodeInt(value, advance(4)); }
    void real(const char*, float value) { zvbytes::encodeFloat(value, advance(4)); }
    void nulls(size_t count) { std::memset(advance(count), 0, count); }

private:
    unsigned char* advance(size_t count) {
        unsigned char* start = at_;
        at_ += count;
        return start;
    }

    unsigned char* at_;
};

// Reads the fields of fixed-size records one after another from `at` on,
// without bounds checks: the caller has made sure the bytes are there. Values
// decode as the stream primitives decode them.
class FieldDecoder : public Unnamed {
public:
    explicit FieldDecoder(const unsigned char* at) : at_(at) {}

    void byte(const char*, int8_t& value) { value = static_cast<int8_t>(*at_++); }
    void boolean(const char*, int& value) { value = *at_++ == zvbytes::kTrueByte ? 1 : 0; }
    void integer(const char*, int& value) { value = zvbytes::decodeInt(advance(4)); }
    void real(const char*, float& value) { value = zvbytes::decodeFloat(advance(4)); }
    void nulls(size_t count) { advance(count); }

private:
    const unsigned char* advance(size_t count) {
        const unsigned char* start = at_;
        at_ += count;
        return start;
    }

    const unsigned char* at_;
};

// Counts the bytes a layout's fields take, so that the sizes the fast paths
// rely on are checked when this header is compiled.
class StoredSize : public Unnamed {
public:
    constexpr void byte(const char*, int8_t) { bytes_ += 1; }
    constexpr void boolean(const char*, int) { bytes_ += 1; }
    constexpr void integer(const char*, int) { bytes_ += 4; }
    constexpr void real(const char*, float) { bytes_ += 4; }
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
    io.integer("headerValue", t.headerValue);
    io.byte("major", t.major);
    io.byte("minor", t.minor);
    io.byte("revision", t.revision);
    io.byte("markup", t.markup);
    io.byte("headerByte", t.headerByte);
    io.boolean("use16friction", t.use16friction);
    io.nulls(kZorvPadding);
}

template <class IO, class T>
void trck(IO& io, T& t) {
    io.integer("trckLength", t.trckLength);
    io.integer("coasterStyle", t.coasterStyle);
    io.count(t.trckEntries, kTrckEntryMinSize, "TRCK entry");
    io.integer("trckValue", t.trckValue);
    objects(io, "trckEntries", t.trckEntries, [&](auto& entry) {
        io.boolean("flag", entry.flag);
        io.nulls(kTrckEntryPadding);
        io.text("text", entry.text);
        colors(io, "colors", entry.colors);
    });
    colors(io, "trackColors", t.trackColors);
    io.list("trckBytes", t.trckBytes, [&](auto& value) { io.byte(kElement, value); });
    io.integer("trckInt", t.trckInt);
    io.boolean("trckFlag", t.trckFlag);
    io.color("trckColor", t.trckColor);
    io.nulls(kTrckTailPadding);
}

template <class IO, class T>
void info(IO& io, T& t) {
    io.integer("infoLength", t.infoLength);
    io.nulls(kChunkPadding);
    io.authorComments("authorComments", t);
}

template <class IO, class T>
void bezr(IO& io, T& t) {
    io.integer("bezrLength", t.bezrLength);
    io.nulls(kChunkPadding);
    io.records("bezierArray", t.bezierArray, BezierLayout{}, "bezier");
    io.nulls(kChunkPadding);
}

template <class IO, class S>
void station(IO& io, S& s) {
    io.real("station1", s.station1);
    io.real("station2", s.station2);
    io.real("station3", s.station3);
    io.real("station4", s.station4);
    io.byte("station5", s.station5);
    io.byte("station6", s.station6);
    io.boolean("station7", s.station7);
    io.byte("station8", s.station8);
    io.real("station9", s.station9);
    io.byte("station10", s.station10);
    io.byte("station11", s.station11);
    io.boolean("station12", s.station12);
    io.nulls(1);
    io.boolean("station13", s.station13);
    io.real("station14", s.station14);
    io.nulls(4);
    io.real("station15", s.station15);
    io.real("station16", s.station16);
    io.nulls(4);
    io.boolean("station17", s.station17);
    io.real("station18", s.station18);
    io.real("station19", s.station19);
    io.real("station20", s.station20);
    io.nulls(3);
    io.byte("station21", s.station21);
    io.real("station22", s.station22);
    io.boolean("station23", s.station23);
    io.nulls(55);
}

template <class IO, class S>
void lift(IO& io, S& s) {
    io.nulls(3);
    io.byte("lift1", s.lift1);
    io.real("lift2", s.lift2);
    io.real("lift3", s.lift3);
    io.real("lift4", s.lift4);
    io.nulls(4);
    io.boolean("lift5", s.lift5);
    io.boolean("lift6", s.lift6);
    io.integer("lift7", s.lift7);
    io.nulls(10);
}

template <class IO, class S>
void transport(IO& io, S& s) {
    io.real("transport1", s.transport1);
    io.real("transport2", s.transport2);
    io.real("transport3", s.transport3);
    io.nulls(3);
    io.byte("transport4", s.transport4);
    io.boolean("transport5", s.transport5);
    io.boolean("transport6", s.transport6);
    io.byte("transport7", s.transport7);
    io.byte("transport8", s.transport8);
    io.real("transport9", s.transport9);
    io.nulls(4);
}

template <class IO, class S>
void brake(IO& io, S& s) {
    io.real("break1", s.break1);
    io.real("break2", s.break2);
    io.real("break3", s.break3);
    io.nulls(4);
    io.real("break4", s.break4);
    io.boolean("break5", s.break5);
    io.boolean("break6", s.break6);
    io.real("break7", s.break7);
    io.real("break8", s.break8);
    io.real("break9", s.break9);
    io.boolean("break10", s.break10);
    io.boolean("break11", s.break11);
    io.boolean("break12", s.break12);
    io.byte("break13", s.break13);
    io.integer("break14", s.break14);
    io.boolean("break15", s.break15);
    io.real("break16", s.break16);
    io.boolean("break17", s.break17);
    io.nulls(2);
}

// The type block follows `type` alone; typeDataLength is only carried.
template <class IO, class S>
void segment(IO& io, S& s) {
    io.integer("type", s.type);
    io.boolean("segmentFlag", s.segmentFlag);
    io.color("color1", s.color1);
    io.color("color2", s.color2);
    io.color("color3", s.color3);
    io.boolean("segmentFlag2", s.segmentFlag2);
    io.integer("segmentValue", s.segmentValue);
    io.nulls(kSegmentPadding);
    io.integer("typeDataLength", s.typeDataLength);
    switch (s.type) {
        case kSegmentStation: io.object("station", [&] { station(io, s.station); }); break;
        case kSegmentLift: io.object("lift", [&] { lift(io, s.lift); }); break;
        case kSegmentTransport: io.object("transport", [&] { transport(io, s.transport); }); break;
        case kSegmentBrake: io.object("brake", [&] { brake(io, s.brake); }); break;
        default: break;
    }
}

template <class IO, class T>
void segm(IO& io, T& t) {
    io.integer("segmLength", t.segmLength);
    io.count(t.segmentArray, kSegmentRecordSize, "segment");
    io.boolean("closedTrack", t.closedTrack);
    io.nulls(kChunkPadding);
    objects(io, "segmentArray", t.segmentArray, [&](auto& record) { segment(io, record); });
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void supp(IO& io, T& t) {
    io.integer("suppLength", t.suppLength);
    io.nulls(kSuppPadding);
}

template <class IO, class T>
void fund(IO& io, T& t) {
    io.integer("fundLength", t.fundLength);
    io.nulls(kChunkPadding);
    io.records("fundNodeArray", t.fundNodeArray, FundNodeLayout{}, "foundation node");
    io.nulls(kChunkPadding);
}

// Ends after the closing null run; the nested count is the caller's.
template <class IO, class T>
void rasc(IO& io, T& t) {
    io.integer("rascLength", t.rascLength);
    io.nulls(kChunkPadding);
    io.count(t.trackNodeLists, kTrackNodeListSize, "track node list");
    objects(io, "trackNodeLists", t.trackNodeLists, [&](auto& list) {
        io.records("nodes", list.nodes, TrackNodeLayout{}, "track node");
    });
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void fren(IO& io, T& t) {
    io.integer("frenLength", t.frenLength);
    io.nulls(kChunkPadding);
    io.records("freeNodeArray", t.freeNodeArray, FreeNodeLayout{}, "free node");
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void tube(IO& io, T& t) {
    io.integer("tubeLength", t.tubeLength);
    io.nulls(kChunkPadding);
    io.records("tubeArray", t.tubeArray, TubeLayout{}, "tube");
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void catw(IO& io, T& t) {
    io.integer("catwLength", t.catwLength);
    io.nulls(kChunkPadding);
    io.count(t.catwRecords, kCatwRecordMinSize, "CATW record");
    objects(io, "catwRecords", t.catwRecords, [&](auto& record) {
        io.list("values", record.values, [&](auto& value) { io.integer(kElement, value); });
        io.blob("data", record.data);
    });
    io.nulls(kChunkPadding);
}

// Ends after the closing null run; the nested count is the caller's.
template <class IO, class T>
void scen(IO& io, T& t) {
    io.integer("scenLength", t.scenLength);
    io.nulls(kChunkPadding);
    io.records("scenRecords", t.scenRecords, ScenLayout{}, "SCEN record");
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void scob(IO& io, T& t) {
    io.integer("scobLength", t.scobLength);
    io.nulls(kChunkPadding);
    io.count(t.scobRecords, kScobRecordMinSize, "SCOB record");
    objects(io, "scobRecords", t.scobRecords, [&](auto& record) {
        io.text("text1", record.text1);
        io.text("text2", record.text2);
        io.list("values", record.values, [&](auto& value) { io.real(kElement, value); });
        io.nulls(kScobRecordPadding);
    });
    io.nulls(kChunkPadding);
}

// Whether the terrain's size, which checkTerrainSize checks, fits the grid.
inline bool terrainFitsGrid(const ZvTrack& t) {
    return t.terrainColumns >= 0 && t.terrainColumns <= kTerrainMaxColumns && t.terrainRows >= 0 &&
           t.terrainRows <= kTerrainMaxRows;
}

template <class IO, class T>
void tera(IO& io, T& t) {
    io.integer("teraValue", t.teraValue);
    io.integer("terrainColumns", t.terrainColumns);
    io.integer("terrainRows", t.terrainRows);
    io.checkTerrainSize(t);
    io.real("teraFloat1", t.teraFloat1);
    io.real("teraFloat2", t.teraFloat2);
    io.text("teraText1", t.teraText1);
    io.real("teraFloat3", t.teraFloat3);
    io.text("teraText2", t.teraText2);
    io.real("teraFloat4", t.teraFloat4);
    io.boolean("teraFlag1", t.teraFlag1);
    io.real("teraFloat5", t.teraFloat5);
    io.text("teraText3", t.teraText3);
    io.real("teraFloat6", t.teraFloat6);
    io.byte("teraByte", t.teraByte);
    io.boolean("teraFlag2", t.teraFlag2);
    io.real("teraFloat7", t.teraFloat7);
    io.nulls(kTeraPadding);
    io.terrainGrid("terrainHeights", t);
    io.nulls(kChunkPadding);
}

template <class IO, class T>
void envc(IO& io, T& t) {
    io.integer("envcLength", t.envcLength);
    io.nulls(kChunkPadding);
    io.text("envcText1", t.envcText1);
    io.text("envcText2", t.envcText2);
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
