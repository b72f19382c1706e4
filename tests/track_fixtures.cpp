#include "track_fixtures.h"

#include <dirent.h>
#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace fixture {
namespace {

// Hands out a new value on every call, so that no two fields agree and a
// field read into the wrong place shows.
class DistinctValues {
public:
    float real() { return static_cast<float>(++serial_) * 0.25f - 3.0f; }
    int integer() { return ++serial_ * 1009 - 50000; }
    int8_t byte() { return static_cast<int8_t>(++serial_ * 37); }
    int flag() { return ++serial_ % 2; }
    // Components as a loaded file holds them: signed bytes.
    Color color() {
        Color c;
        c.alpha = byte();
        c.blue = byte();
        c.green = byte();
        c.red = byte();
        return c;
    }
    Point3D point() { return Point3D{real(), real(), real()}; }
    std::string text(const char* stem) { return stem + std::to_string(++serial_); }

private:
    int serial_ = 0;
};

void fillHeader(DistinctValues& v, ZvTrack* t) {
    t->headerValue = v.integer();
    t->major = v.byte();
    t->minor = v.byte();
    t->revision = v.byte();
    t->markup = v.byte();
    t->headerByte = v.byte();
    t->use16friction = 1;
    t->trckLength = v.integer();
    t->coasterStyle = v.integer();
    t->trckValue = v.integer();
    for (int i = 0; i < 3; ++i) {
        TrckEntry entry;
        entry.flag = v.flag();
        entry.text = i == 0 ? std::string() : v.text("entry ");
        for (Color& c : entry.colors) c = v.color();
        t->trckEntries.push_back(entry);
    }
    for (Color& c : t->trackColors) c = v.color();
    for (int8_t& b : t->trckBytes) b = v.byte();
    t->trckInt = v.integer();
    t->trckFlag = 1;
    t->trckColor = v.color();
    t->infoLength = v.integer();
    auto comments = std::make_shared<const std::string>(std::string("comments\0with a NUL", 19));
    t->authorComments = comments->c_str();
    t->ownedAuthorComments = comments;
}

void fillBlocks(DistinctValues& v, SegmentRecord* s) {
    StationSettings& st = s->station;
    for (float* f : {&st.station1, &st.station2, &st.station3, &st.station4, &st.station9,
                     &st.station14, &st.station15, &st.station16, &st.station18, &st.station19,
                     &st.station20, &st.station22}) *f = v.real();
    for (int8_t* b : {&st.station5, &st.station6, &st.station8, &st.station10, &st.station11,
                      &st.station21}) *b = v.byte();
    for (int* f : {&st.station7, &st.station12, &st.station13, &st.station17, &st.station23}) *f = 1;
    LiftSettings& l = s->lift;
    l = LiftSettings{v.byte(), v.real(), v.real(), v.real(), 1, 1, v.integer()};
    TransportSettings& tr = s->transport;
    tr = TransportSettings{v.real(), v.real(), v.real(), v.byte(), 1, 1, v.byte(), v.byte(), v.real()};
    BreakSettings& b = s->brake;
    b = BreakSettings{v.real(), v.real(), v.real(), v.real(), 1, 1, v.real(), v.real(), v.real(),
                      1, 1, 1, v.byte(), v.integer(), 1, v.real(), 1};
}

void fillTrackParts(DistinctValues& v, ZvTrack* t) {
    t->bezrLength = v.integer();
    for (int i = 0; i < 6; ++i) {
        t->bezierArray.push_back(
            BezierRecord{v.point(), v.point(), v.point(), v.real(), v.flag(), v.flag(), 1});
    }
    t->segmLength = v.integer();
    t->closedTrack = 1;
    for (int type : {0, 1, 2, 3, 4, 7}) {
        SegmentRecord s;
        s.typeDataLength = v.integer();
        s.type = type;
        s.segmentFlag = 1;
        s.color1 = v.color();
        s.color2 = v.color();
        s.color3 = v.color();
        s.segmentFlag2 = v.flag();
        s.segmentValue = v.integer();
        fillBlocks(v, &s);
        t->segmentArray.push_back(s);
    }
}

void fillSupports(DistinctValues& v, ZvTrack* t) {
    t->suppLength = v.integer();
    t->fundLength = v.integer();
    for (int i = 0; i < 3; ++i) {
        FundNodeRecord f{1, v.real(), v.flag(), v.real(), v.byte(), v.integer(), 0, 0, 0};
        Point3D p = v.point();
        f.x = p.x, f.y = p.y, f.z = p.z;
        t->fundNodeArray.push_back(f);
    }
    t->rascLength = v.integer();
    for (int list = 0; list < 4; ++list) {
        TrackNodeList nodes;
        for (int i = 0; i < list; ++i) nodes.nodes.push_back(TrackNodeRecord{v.integer(), v.real()});
        t->trackNodeLists.push_back(nodes);
    }
    t->frenLength = v.integer();
    for (int i = 0; i < 4; ++i) {
        Point3D p = v.point();
        t->freeNodeArray.push_back(FreeNodeRecord{p.x, p.y, p.z, v.integer()});
    }
    t->tubeLength = v.integer();
    for (int i = 0; i < 5; ++i) {
        t->tubeArray.push_back(TubeRecord{v.integer(), v.integer(), v.integer(), v.integer(),
                                          v.integer(), v.integer(), v.integer(), v.integer(),
                                          v.real()});
    }
    t->catwLength = v.integer();
    for (int i = 0; i < 3; ++i) {
        CatwRecord c;
        for (int& value : c.values) value = v.integer();
        for (int j = 0; j < i * 5; ++j) c.data.push_back(static_cast<char>(v.byte()));
        t->catwRecords.push_back(c);
    }
}

void fillScenery(DistinctValues& v, ZvTrack* t) {
    t->scenLength = v.integer();
    for (int i = 0; i < 2; ++i) {
        t->scenRecords.push_back(ScenRecord{v.real(), v.real(), v.real(), v.integer(), v.real()});
    }
    t->scobLength = v.integer();
    for (int i = 0; i < 3; ++i) {
        ScobRecord s;
        s.text1 = v.text("object ");
        s.text2 = i == 1 ? std::string() : v.text("model ");
        for (float& f : s.values) f = v.real();
        t->scobRecords.push_back(s);
    }
    t->envcLength = v.integer();
    t->envcText1 = v.text("sky ");
    t->envcText2 = v.text("water ");
}

void fillTerrain(DistinctValues& v, ZvTrack* t) {
    t->hasTerrain = 1;
    t->teraValue = v.integer();
    t->terrainColumns = kTerrainColumns;
    t->terrainRows = kTerrainRows;
    t->teraFloat1 = v.real();
    t->teraFloat2 = v.real();
    t->teraText1 = v.text("ground ");
    t->teraFloat3 = v.real();
    t->teraText2 = v.text("grass ");
    t->teraFloat4 = v.real();
    t->teraFlag1 = 1;
    t->teraFloat5 = v.real();
    t->teraText3 = v.text("rock ");
    t->teraFloat6 = v.real();
    t->teraByte = v.byte();
    t->teraFlag2 = 1;
    t->teraFloat7 = v.real();
    for (int row = 0; row < kTerrainRows; ++row) {
        for (int column = 0; column < kTerrainColumns; ++column) {
            setTerrainHeight(row, column, row * 100.0f + column, t);
        }
    }
}

}  // namespace

void fillEveryChunk(ZvTrack* track) {
    DistinctValues values;
    fillHeader(values, track);
    fillTrackParts(values, track);
    fillSupports(values, track);
    fillScenery(values, track);
    fillTerrain(values, track);
    track->scenTrailer = values.integer();
}

Bytes captureWrites(const std::function<void(FILE*)>& write) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    write(stream);
    fclose(stream);
    Bytes bytes(buffer, buffer + size);
    free(buffer);
    return bytes;
}

Bytes saveToBytes(const ZvTrack& track) {
    Bytes bytes;
    ZvSaveMemory(&track, &bytes);
    return bytes;
}

size_t findKey(const Bytes& bytes, const char* letters, size_t from) {
    for (size_t at = from; at + 4 <= bytes.size(); ++at) {
        if (std::memcmp(&bytes[at], letters, 4) == 0) return at;
    }
    return npos;
}

Bytes terrainChunk(int columns, int rows) {
    ByteBuilder chunk;
    chunk.key("TERA").integer(0).integer(columns).integer(rows).real(1).real(2).text("a");
    chunk.real(3).text("b").real(4).octet(0xFF).real(5).text("c").real(6).octet(7).octet(0);
    chunk.real(8).zeros(10);
    bool inGrid = columns >= 0 && columns <= kTerrainMaxColumns && rows >= 0 && rows <= kTerrainMaxRows;
    for (int row = 0; inGrid && row < rows; ++row) {
        for (int column = 0; column < columns; ++column) chunk.real(row * 1000.0f + column);
    }
    chunk.zeros(16).integer(0);
    return chunk.bytes();
}

ByteBuilder& ByteBuilder::key(const char* letters) {
    bytes_.insert(bytes_.end(), letters, letters + 4);
    return *this;
}

ByteBuilder& ByteBuilder::integer(int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(static_cast<uint8_t>(bits >> shift));
    return *this;
}

ByteBuilder& ByteBuilder::real(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return integer(bits);
}

ByteBuilder& ByteBuilder::octet(uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

ByteBuilder& ByteBuilder::zeros(size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
    return *this;
}

ByteBuilder& ByteBuilder::text(const std::string& value) {
    integer(static_cast<int32_t>(value.size()));
    bytes_.insert(bytes_.end(), value.begin(), value.end());
    return *this;
}

ByteBuilder& ByteBuilder::append(const Bytes& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
}

Folder::Folder() {
    char name[] = "/tmp/zvtrack-test-XXXXXX";
    path_ = mkdtemp(name);
}

Folder::~Folder() { std::system(("rm -rf '" + path_ + "'").c_str()); }

std::set<std::string> Folder::entries() const {
    std::set<std::string> names;
    DIR* dir = opendir(path_.c_str());
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.insert(name);
    }
    closedir(dir);
    return names;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace fixture
