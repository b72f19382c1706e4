#include "trackJson.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// A float as the JSON number with the fewest digits that reads back as the
// same float, so dumps show 0.1 rather than 0.10000000149011612.
OrderedJson number(float value) {
    if (!std::isfinite(value)) return static_cast<double>(value);
    char text[32];
    auto result = std::to_chars(text, text + sizeof text - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

OrderedJson text(const std::string& bytes) { return latin1ToUtf8(bytes); }

OrderedJson point(const Point3D& p) {
    return {{"x", number(p.x)}, {"y", number(p.y)}, {"z", number(p.z)}};
}

OrderedJson color(const Color& c) {
    return {{"alpha", c.alpha}, {"blue", c.blue}, {"green", c.green}, {"red", c.red}};
}

template <typename Element, size_t Size, typename Convert>
OrderedJson arrayOf(const std::array<Element, Size>& values, Convert convert) {
    OrderedJson out = OrderedJson::array();
    for (const Element& value : values) out.push_back(convert(value));
    return out;
}

OrderedJson trckEntry(const TrckEntry& entry) {
    return {{"flag", entry.flag}, {"text", text(entry.text)}, {"colors", arrayOf(entry.colors, color)}};
}

OrderedJson bezier(const BezierRecord& b) {
    return {{"position", point(b.position)}, {"controlIn", point(b.controlIn)},
            {"controlOut", point(b.controlOut)}, {"roll", number(b.roll)},
            {"rollFlag", b.rollFlag}, {"auxFlag1", b.auxFlag1}, {"auxFlag2", b.auxFlag2}};
}

OrderedJson station(const StationSettings& s) {
    return {{"station1", number(s.station1)},   {"station2", number(s.station2)},
            {"station3", number(s.station3)},   {"station4", number(s.station4)},
            {"station5", s.station5},           {"station6", s.station6},
            {"station7", s.station7},           {"station8", s.station8},
            {"station9", number(s.station9)},   {"station10", s.station10},
            {"station11", s.station11},         {"station12", s.station12},
            {"station13", s.station13},         {"station14", number(s.station14)},
            {"station15", number(s.station15)}, {"station16", number(s.station16)},
            {"station17", s.station17},         {"station18", number(s.station18)},
            {"station19", number(s.station19)}, {"station20", number(s.station20)},
            {"station21", s.station21},         {"station22", number(s.station22)},
            {"station23", s.station23}};
}

OrderedJson lift(const LiftSettings& s) {
    return {{"lift1", s.lift1}, {"lift2", number(s.lift2)}, {"lift3", number(s.lift3)},
            {"lift4", number(s.lift4)}, {"lift5", s.lift5}, {"lift6", s.lift6},
            {"lift7", s.lift7}};
}

OrderedJson transport(const TransportSettings& s) {
    return {{"transport1", number(s.transport1)}, {"transport2", number(s.transport2)},
            {"transport3", number(s.transport3)}, {"transport4", s.transport4},
            {"transport5", s.transport5},         {"transport6", s.transport6},
            {"transport7", s.transport7},         {"transport8", s.transport8},
            {"transport9", number(s.transport9)}};
}

OrderedJson brake(const BreakSettings& s) {
    return {{"break1", number(s.break1)},   {"break2", number(s.break2)},
            {"break3", number(s.break3)},   {"break4", number(s.break4)},
            {"break5", s.break5},           {"break6", s.break6},
            {"break7", number(s.break7)},   {"break8", number(s.break8)},
            {"break9", number(s.break9)},   {"break10", s.break10},
            {"break11", s.break11},         {"break12", s.break12},
            {"break13", s.break13},         {"break14", s.break14},
            {"break15", s.break15},         {"break16", number(s.break16)},
            {"break17", s.break17}};
}

// A segment stores one settings block, chosen by its type; the others never
// reach the file and are left out.
void addStoredSettings(const SegmentRecord& s, OrderedJson* out) {
    switch (s.type) {
        case kSegmentStation: (*out)["station"] = station(s.station); break;
        case kSegmentLift: (*out)["lift"] = lift(s.lift); break;
        case kSegmentTransport: (*out)["transport"] = transport(s.transport); break;
        case kSegmentBrake: (*out)["brake"] = brake(s.brake); break;
        default: break;
    }
}

OrderedJson segment(const SegmentRecord& s) {
    OrderedJson out = {{"typeDataLength", s.typeDataLength}, {"type", s.type},
                       {"segmentFlag", s.segmentFlag},       {"color1", color(s.color1)},
                       {"color2", color(s.color2)},          {"color3", color(s.color3)},
                       {"segmentFlag2", s.segmentFlag2},     {"segmentValue", s.segmentValue}};
    addStoredSettings(s, &out);
    return out;
}

OrderedJson fundNode(const FundNodeRecord& f) {
    return {{"flagA", f.flagA},       {"valueA", number(f.valueA)}, {"angleFlag", f.angleFlag},
            {"angle", number(f.angle)}, {"fundByte", f.fundByte},   {"fundValue", f.fundValue},
            {"x", number(f.x)},       {"y", number(f.y)},           {"z", number(f.z)}};
}

OrderedJson trackNode(const TrackNodeRecord& n) {
    return {{"nodeType", n.nodeType}, {"segmentPos", number(n.segmentPos)}};
}

OrderedJson freeNode(const FreeNodeRecord& f) {
    return {{"x", number(f.x)}, {"y", number(f.y)}, {"z", number(f.z)}, {"freeValue", f.freeValue}};
}

OrderedJson tube(const TubeRecord& t) {
    return {{"kind1", t.kind1},       {"segment1", t.segment1}, {"index1", t.index1},
            {"kind2", t.kind2},       {"segment2", t.segment2}, {"index2", t.index2},
            {"tubeType", t.tubeType}, {"tubeValue", t.tubeValue},
            {"tubeSize", number(t.tubeSize)}};
}

OrderedJson scenRecord(const ScenRecord& s) {
    return {{"scenFloat1", number(s.scenFloat1)}, {"scenFloat2", number(s.scenFloat2)},
            {"scenFloat3", number(s.scenFloat3)}, {"scenInt", s.scenInt},
            {"scenFloat4", number(s.scenFloat4)}};
}

OrderedJson scobRecord(const ScobRecord& s) {
    return {{"text1", text(s.text1)}, {"text2", text(s.text2)}, {"values", arrayOf(s.values, number)}};
}

int usedTerrainRows(const ZvTrack& track) { return std::clamp(track.terrainRows, 0, kTerrainMaxRows); }

// One row of the used part of the terrain grid.
OrderedJson terrainRow(const ZvTrack& track, int row) {
    const int columns = std::clamp(track.terrainColumns, 0, kTerrainMaxColumns);
    OrderedJson out = OrderedJson::array();
    for (int c = 0; c < columns; ++c) out.push_back(number(terrainHeight(&track, row, c)));
    return out;
}

// Hands the sink one whole small record per element, so a collection of any
// size passes through in pieces.
template <typename Record, typename Convert>
void listOf(const char* name, const std::vector<Record>& records, Convert convert, JsonSink& sink) {
    sink.key(name);
    sink.beginArray();
    for (const Record& record : records) sink.value(convert(record));
    sink.end();
}

void field(const char* name, OrderedJson value, JsonSink& sink) {
    sink.key(name);
    sink.value(std::move(value));
}

void trackNodeLists(const ZvTrack& t, JsonSink& sink) {
    sink.key("trackNodeLists");
    sink.beginArray();
    for (const TrackNodeList& list : t.trackNodeLists) {
        sink.beginObject();
        listOf("nodes", list.nodes, trackNode, sink);
        sink.end();
    }
    sink.end();
}

// A record's data bytes may run to megabytes: one number at a time.
void catwRecords(const ZvTrack& t, JsonSink& sink) {
    sink.key("catwRecords");
    sink.beginArray();
    for (const CatwRecord& c : t.catwRecords) {
        sink.beginObject();
        field("values", c.values, sink);
        listOf("data", c.data, [](char byte) { return OrderedJson(static_cast<unsigned char>(byte)); },
               sink);
        sink.end();
    }
    sink.end();
}

// The used part of the terrain grid, row by row.
void terrain(const ZvTrack& track, JsonSink& sink) {
    sink.key("terrainHeights");
    sink.beginArray();
    for (int r = 0; r < usedTerrainRows(track); ++r) sink.value(terrainRow(track, r));
    sink.end();
}

void header(const ZvTrack& t, JsonSink& sink) {
    field("headerValue", t.headerValue, sink);
    field("major", t.major, sink);
    field("minor", t.minor, sink);
    field("revision", t.revision, sink);
    field("markup", t.markup, sink);
    field("headerByte", t.headerByte, sink);
    field("use16friction", t.use16friction, sink);
    field("trckLength", t.trckLength, sink);
    field("coasterStyle", t.coasterStyle, sink);
    field("trckValue", t.trckValue, sink);
    listOf("trckEntries", t.trckEntries, trckEntry, sink);
    field("trackColors", arrayOf(t.trackColors, color), sink);
    field("trckBytes", t.trckBytes, sink);
    field("trckInt", t.trckInt, sink);
    field("trckFlag", t.trckFlag, sink);
    field("trckColor", color(t.trckColor), sink);
    field("infoLength", t.infoLength, sink);
    field("authorComments", t.authorComments ? text(t.authorComments) : OrderedJson(nullptr), sink);
}

void trackAndSupports(const ZvTrack& t, JsonSink& sink) {
    field("bezrLength", t.bezrLength, sink);
    listOf("bezierArray", t.bezierArray, bezier, sink);
    field("segmLength", t.segmLength, sink);
    field("closedTrack", t.closedTrack, sink);
    listOf("segmentArray", t.segmentArray, segment, sink);
    field("suppLength", t.suppLength, sink);
    field("fundLength", t.fundLength, sink);
    listOf("fundNodeArray", t.fundNodeArray, fundNode, sink);
    field("rascLength", t.rascLength, sink);
    trackNodeLists(t, sink);
    field("frenLength", t.frenLength, sink);
    listOf("freeNodeArray", t.freeNodeArray, freeNode, sink);
    field("tubeLength", t.tubeLength, sink);
    listOf("tubeArray", t.tubeArray, tube, sink);
    field("catwLength", t.catwLength, sink);
    catwRecords(t, sink);
}

void sceneryAndTerrain(const ZvTrack& t, JsonSink& sink) {
    field("scenLength", t.scenLength, sink);
    field("scenTrailer", t.scenTrailer, sink);
    listOf("scenRecords", t.scenRecords, scenRecord, sink);
    field("scobLength", t.scobLength, sink);
    listOf("scobRecords", t.scobRecords, scobRecord, sink);
    field("envcLength", t.envcLength, sink);
    field("envcText1", text(t.envcText1), sink);
    field("envcText2", text(t.envcText2), sink);
    field("hasTerrain", t.hasTerrain, sink);
    field("teraValue", t.teraValue, sink);
    field("terrainColumns", t.terrainColumns, sink);
    field("terrainRows", t.terrainRows, sink);
    field("teraFloat1", number(t.teraFloat1), sink);
    field("teraFloat2", number(t.teraFloat2), sink);
    field("teraText1", text(t.teraText1), sink);
    field("teraFloat3", number(t.teraFloat3), sink);
    field("teraText2", text(t.teraText2), sink);
    field("teraFloat4", number(t.teraFloat4), sink);
    field("teraFlag1", t.teraFlag1, sink);
    field("teraFloat5", number(t.teraFloat5), sink);
    field("teraText3", text(t.teraText3), sink);
    field("teraFloat6", number(t.teraFloat6), sink);
    field("teraByte", t.teraByte, sink);
    field("teraFlag2", t.teraFlag2, sink);
    field("teraFloat7", number(t.teraFloat7), sink);
    terrain(t, sink);
}

using NonFiniteVisitor = std::function<void(const std::string& path, OrderedJson& value)>;

void walkNonFinite(OrderedJson& node, const std::string& path, const NonFiniteVisitor& visit) {
    if (node.is_object()) {
        for (auto& item : node.items())
            walkNonFinite(item.value(), path.empty() ? item.key() : path + "." + item.key(), visit);
    } else if (node.is_array()) {
        for (size_t i = 0; i < node.size(); ++i)
            walkNonFinite(node[i], path + "[" + std::to_string(i) + "]", visit);
    } else if (node.is_number_float() && !std::isfinite(node.get<double>())) {
        visit(path, node);
    }
}

// "nan", "inf" or "-inf".
std::string nonFiniteName(double value) {
    if (std::isnan(value)) return "nan";
    return value < 0 ? "-inf" : "inf";
}

// The dump's text, exactly as the JSON library prints a whole document with
// an indent of 2: each piece is printed by the library and indented to its
// depth, and the framing between pieces is the library's.
class JsonTextWriter : public JsonSink {
public:
    explicit JsonTextWriter(std::ostream& out) : out_(out) {}

    void beginObject() override { open('{'); }
    void beginArray() override { open('['); }
    void end() override {
        const Frame frame = frames_.back();
        frames_.pop_back();
        if (frame.members > 0) out_ << '\n' << indent();
        out_ << frame.close;
        if (frames_.empty()) out_ << '\n';
    }
    void key(const char* name) override {
        nextMember();
        out_ << OrderedJson(name).dump() << ": ";
    }
    void value(OrderedJson value) override {
        if (inArray()) nextMember();
        walkNonFinite(value, "", [](const std::string&, OrderedJson& number) {
            number = nonFiniteName(number.get<double>());
        });
        std::string text = value.dump(kIndent, ' ', false, OrderedJson::error_handler_t::replace);
        // JSON strings hold no raw line breaks, so every one is the layout's.
        const std::string lineStart = "\n" + indent();
        for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
            text.replace(at, 1, lineStart);
            at += lineStart.size() - 1;
        }
        out_ << text;
    }

private:
    static constexpr int kIndent = 2;
    struct Frame {
        char close;
        bool array;
        size_t members;
    };

    bool inArray() const { return !frames_.empty() && frames_.back().array; }
    std::string indent() const { return std::string(kIndent * frames_.size(), ' '); }
    void nextMember() {
        out_ << (frames_.back().members++ > 0 ? ",\n" : "\n") << indent();
    }
    void open(char bracket) {
        if (inArray()) nextMember();
        out_ << bracket;
        frames_.push_back({bracket == '{' ? '}' : ']', bracket == '[', 0});
    }

    std::ostream& out_;
    std::vector<Frame> frames_;
};

// Follows the path of each piece and looks into it for non-finite numbers.
class NonFiniteFinder : public JsonSink {
public:
    explicit NonFiniteFinder(const NonFiniteNumberVisitor& visit) : visit_(visit) {}

    void beginObject() override { frames_.push_back({nextPath(), false, 0, ""}); }
    void beginArray() override { frames_.push_back({nextPath(), true, 0, ""}); }
    void end() override { frames_.pop_back(); }
    void key(const char* name) override { frames_.back().key = name; }
    void value(OrderedJson value) override {
        walkNonFinite(value, nextPath(), [this](const std::string& path, OrderedJson& number) {
            visit_(path, nonFiniteName(number.get<double>()));
        });
    }

private:
    struct Frame {
        std::string path;
        bool array;
        size_t index;
        std::string key;
    };

    // The path of the piece that comes next.
    std::string nextPath() {
        if (frames_.empty()) return "";
        Frame& frame = frames_.back();
        if (frame.array) return frame.path + "[" + std::to_string(frame.index++) + "]";
        return frame.path.empty() ? frame.key : frame.path + "." + frame.key;
    }

    const NonFiniteNumberVisitor& visit_;
    std::vector<Frame> frames_;
};

}  // namespace

void walkTrackJson(const ZvTrack& track, JsonSink& sink) {
    sink.beginObject();
    header(track, sink);
    trackAndSupports(track, sink);
    sceneryAndTerrain(track, sink);
    sink.end();
}

void writeTrackJson(const ZvTrack& track, std::ostream& out) {
    JsonTextWriter writer(out);
    walkTrackJson(track, writer);
}

void forEachNonFiniteNumber(const ZvTrack& track, const NonFiniteNumberVisitor& visit) {
    NonFiniteFinder finder(visit);
    walkTrackJson(track, finder);
}

std::string latin1ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        auto code = static_cast<unsigned char>(c);
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}
