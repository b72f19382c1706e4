#include "hardening_tracks.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTrackExtent = 10000.0f;  // sound coordinates stay within +-10,000

// Random values of each field kind of the file.
class FieldSource {
public:
    explicit FieldSource(std::mt19937& rng) : rng_(rng) {}

    int below(int limit) { return static_cast<int>(rng_() % static_cast<unsigned>(limit)); }
    int integer() { return static_cast<int>(rng_()); }
    int8_t byte() { return static_cast<int8_t>(rng_()); }
    int flag() { return below(2); }
    float within(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(rng_);
    }
    // One float in four is an arbitrary bit pattern (NaN, infinity, denormal).
    float real() {
        if (below(4) != 0) return within(-kTrackExtent, kTrackExtent);
        uint32_t bits = rng_();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    Color color() { return Color{byte(), byte(), byte(), byte()}; }
    std::string text(int maxLength, bool allowNul = true) {
        std::string value(static_cast<size_t>(below(maxLength + 1)), '\0');
        for (char& c : value) c = static_cast<char>(allowNul ? rng_() : 1 + rng_() % 255);
        return value;
    }

private:
    std::mt19937& rng_;
};

void fillHeader(FieldSource& in, ZvTrack& t) {
    t.headerValue = in.integer();
    t.major = in.byte(); t.minor = in.byte(); t.revision = in.byte(); t.markup = in.byte();
    t.headerByte = in.byte();
    t.use16friction = in.flag();
}

void fillTrackSettings(FieldSource& in, ZvTrack& t) {
    t.trckLength = in.integer();
    t.coasterStyle = in.integer();
    t.trckValue = in.integer();
    t.trckEntries.resize(static_cast<size_t>(in.below(40)));
    for (TrckEntry& entry : t.trckEntries) {
        entry.flag = in.flag();
        entry.text = in.text(12);
        for (Color& c : entry.colors) c = in.color();
    }
    for (Color& c : t.trackColors) c = in.color();
    for (int8_t& b : t.trckBytes) b = in.byte();
    t.trckInt = in.integer();
    t.trckFlag = in.flag();
    t.trckColor = in.color();
}

void fillComments(FieldSource& in, ZvTrack& t) {
    t.infoLength = in.integer();
    // The comments are a C string in the document, so they hold no NUL.
    t.ownedAuthorComments = std::make_shared<const std::string>(in.text(80, false));
    t.authorComments = t.ownedAuthorComments->c_str();
}

Point3D randomPoint(FieldSource& in) { return Point3D{in.real(), in.real(), in.real()}; }

void fillBeziers(FieldSource& in, ZvTrack& t) {
    t.bezrLength = in.integer();
    t.bezierArray.resize(static_cast<size_t>(in.below(20)));
    for (BezierRecord& b : t.bezierArray) {
        b.position = randomPoint(in);
        b.controlIn = randomPoint(in);
        b.controlOut = randomPoint(in);
        b.roll = in.real();
        b.rollFlag = in.flag(); b.auxFlag1 = in.flag(); b.auxFlag2 = in.flag();
    }
}

void fillSegmentSettings(FieldSource& in, SegmentRecord& s) {
    s.station = {in.real(), in.real(), in.real(), in.real(), in.byte(), in.byte(),
                 in.flag(), in.byte(), in.real(), in.byte(), in.byte(), in.flag(),
                 in.flag(), in.real(), in.real(), in.real(), in.flag(), in.real(),
                 in.real(), in.real(), in.byte(), in.real(), in.flag()};
    s.lift = {in.byte(), in.real(), in.real(), in.real(), in.flag(), in.flag(), in.integer()};
    s.transport = {in.real(), in.real(), in.real(), in.byte(), in.flag(), in.flag(),
                   in.byte(), in.byte(), in.real()};
    s.brake = {in.real(), in.real(), in.real(), in.real(), in.flag(), in.flag(),
               in.real(), in.real(), in.real(), in.flag(), in.flag(), in.flag(),
               in.byte(), in.integer(), in.flag(), in.real(), in.flag()};
}

void fillSegments(FieldSource& in, ZvTrack& t) {
    t.segmLength = in.integer();
    t.closedTrack = in.flag();
    t.segmentArray.resize(static_cast<size_t>(in.below(20)));
    for (SegmentRecord& s : t.segmentArray) {
        s.type = in.below(4) == 0 ? in.integer() : in.below(7);  // also types without a block
        s.typeDataLength = in.integer();
        s.segmentFlag = in.flag();
        s.color1 = in.color(); s.color2 = in.color(); s.color3 = in.color();
        s.segmentFlag2 = in.flag();
        s.segmentValue = in.integer();
        fillSegmentSettings(in, s);
    }
}

void fillSupportNodes(FieldSource& in, ZvTrack& t) {
    t.suppLength = in.integer();
    t.fundLength = in.integer();
    t.fundNodeArray.resize(static_cast<size_t>(in.below(20)));
    for (FundNodeRecord& f : t.fundNodeArray) {
        f = {in.flag(), in.real(), in.flag(), in.real(), in.byte(), in.integer(),
             in.real(), in.real(), in.real()};
    }
    t.rascLength = in.integer();
    t.trackNodeLists.resize(static_cast<size_t>(in.below(20)));
    for (TrackNodeList& list : t.trackNodeLists) {
        list.nodes.resize(static_cast<size_t>(in.below(6)));
        for (TrackNodeRecord& node : list.nodes) node = {in.integer(), in.real()};
    }
    t.frenLength = in.integer();
    t.freeNodeArray.resize(static_cast<size_t>(in.below(20)));
    for (FreeNodeRecord& f : t.freeNodeArray) f = {in.real(), in.real(), in.real(), in.integer()};
}

void fillTubesAndCatw(FieldSource& in, ZvTrack& t) {
    t.tubeLength = in.integer();
    t.tubeArray.resize(static_cast<size_t>(in.below(20)));
    for (TubeRecord& r : t.tubeArray) {
        r = {in.integer(), in.integer(), in.integer(), in.integer(), in.integer(),
             in.integer(), in.integer(), in.integer(), in.real()};
    }
    t.catwLength = in.integer();
    t.catwRecords.resize(static_cast<size_t>(in.below(6)));
    for (CatwRecord& r : t.catwRecords) {
        for (int& v : r.values) v = in.integer();
        std::string data = in.text(50);
        r.data.assign(data.begin(), data.end());
    }
}

void fillScenery(FieldSource& in, ZvTrack& t) {
    t.scenLength = in.integer();
    t.scenRecords.resize(static_cast<size_t>(in.below(8)));
    for (ScenRecord& r : t.scenRecords) {
        r = {in.real(), in.real(), in.real(), in.integer(), in.real()};
    }
    t.scobLength = in.integer();
    t.scobRecords.resize(static_cast<size_t>(in.below(8)));
    for (ScobRecord& r : t.scobRecords) {
        r.text1 = in.text(16);
        r.text2 = in.text(16);
        for (float& v : r.values) v = in.real();
    }
    t.envcLength = in.integer();
    t.envcText1 = in.text(24);
    t.envcText2 = in.text(24);
}

void fillTerrain(FieldSource& in, ZvTrack& t) {
    t.hasTerrain = in.flag();
    if (!t.hasTerrain) return;
    t.teraValue = in.integer();
    t.terrainColumns = in.below(38);
    t.terrainRows = in.below(24);
    t.teraFloat1 = in.real(); t.teraFloat2 = in.real();
    t.teraText1 = in.text(10);
    t.teraFloat3 = in.real();
    t.teraText2 = in.text(10);
    t.teraFloat4 = in.real();
    t.teraFlag1 = in.flag();
    t.teraFloat5 = in.real();
    t.teraText3 = in.text(10);
    t.teraFloat6 = in.real();
    t.teraByte = in.byte();
    t.teraFlag2 = in.flag();
    t.teraFloat7 = in.real();
    for (int row = 0; row < t.terrainRows; ++row) {
        for (int column = 0; column < t.terrainColumns; ++column) {
            setTerrainHeight(row, column, in.real(), &t);
        }
    }
}

// A point of a random walk that stays above the ground and inside the extent.
Point3D nextStation(FieldSource& in, Point3D from) {
    float heading = in.within(-kPi, kPi);
    float step = in.within(5.0f, 40.0f);
    Point3D to{from.x + step * std::sin(heading), from.y + in.within(-8.0f, 8.0f),
               from.z + step * std::cos(heading)};
    to.y = std::fmin(std::fmax(to.y, 0.5f), 120.0f);
    return to;
}

Point3D offset(Point3D p, float dx, float dy, float dz) {
    return Point3D{p.x + dx, p.y + dy, p.z + dz};
}

// Places bezier i with control points around its position; the degenerate
// shape makes some segments collapse to a point or stand vertically.
void addStation(FieldSource& in, Point3D position, bool collapse, ZvTrack* track) {
    float reach = collapse ? 0.0f : in.within(1.0f, 8.0f);
    float dx = reach * in.within(-1.0f, 1.0f), dz = reach * in.within(-1.0f, 1.0f);
    Point3D out = offset(position, dx, 0.0f, dz);
    Point3D back = offset(position, -dx, 0.0f, -dz);
    addBezier(position.x, position.y, position.z, back.x, back.y, back.z, out.x, out.y, out.z,
              in.within(-kPi, kPi), in.flag(), 0, 0, track);
}

// Colours that switch the generator's choices on and off, plus random ones.
Color markerColor(FieldSource& in) {
    switch (in.below(4)) {
    case 0: return createColorARGB(255, 0, 255, 0);      // opaque green: mirrored
    case 1: return createColorARGB(255, 255, 0, 0);      // opaque red: no extra diagonal
    case 2: return createColorARGB(255, 255, 255, 255);  // defaults for tie and brace
    default: return in.color();
    }
}

constexpr int kCoasterStyles[] = {0, 1, 3, 5, 6, 7, 8, 13, 18, 20, 34, 35, 36, 38, 39, 41,
                                  47, 49, 50, 2, 99, -1};
constexpr int kNodeTypes = 9;  // 0..8: every type the generator knows and some it does not

void addMarkedSegment(FieldSource& in, ZvTrack* track) {
    int number = getTotalSegments(track) + 1;
    addSegment(in.below(5), number, in.flag(), markerColor(in), markerColor(in),
               markerColor(in), in.flag(), 0, track);
    int markers = in.below(5);
    for (int m = 0; m < markers; ++m) {
        addTrackNode(number - 1, in.below(kNodeTypes), in.within(0.0f, 1.0f), track);
    }
}

}  // namespace

ZvTrack randomDocument(std::mt19937& rng) {
    FieldSource in(rng);
    ZvTrack track;
    fillHeader(in, track);
    fillTrackSettings(in, track);
    fillComments(in, track);
    fillBeziers(in, track);
    fillSegments(in, track);
    fillSupportNodes(in, track);
    fillTubesAndCatw(in, track);
    fillScenery(in, track);
    fillTerrain(in, track);
    return track;
}

ZvTrack randomMarkedTrack(std::mt19937& rng, TrackShape shape) {
    FieldSource in(rng);
    ZvTrack track;
    initNewZvTrack(&track);
    deleteBezier(0, &track);  // the stations below replace the new track's bezier
    setCoasterStyle(kCoasterStyles[in.below(static_cast<int>(std::size(kCoasterStyles)))], &track);
    int beziers = 2 + in.below(8);
    Point3D position{in.within(-kTrackExtent / 2, kTrackExtent / 2), in.within(0.5f, 60.0f),
                     in.within(-kTrackExtent / 2, kTrackExtent / 2)};
    for (int i = 0; i < beziers; ++i) {
        bool degenerate = shape == TrackShape::kDegenerate && in.below(2) == 0;
        addStation(in, position, degenerate, &track);
        if (degenerate && in.flag()) position = offset(position, 0.0f, in.within(1.0f, 20.0f), 0.0f);
        else if (!degenerate) position = nextStation(in, position);
    }
    track.closedTrack = shape == TrackShape::kClosed;
    int segments = track.closedTrack ? beziers : beziers - 1;
    for (int s = 0; s < segments; ++s) addMarkedSegment(in, &track);
    return track;
}
