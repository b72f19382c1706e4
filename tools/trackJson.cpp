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

template <typename Record, typename Convert>
OrderedJson listOf(const std::vector<Record>& records, Convert convert) {
    OrderedJson out = OrderedJson::array();
    for (const Record& record : records) out.push_back(convert(record));
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

OrderedJson trackNodeList(const TrackNodeList& list) {
    return {{"nodes", listOf(list.nodes, trackNode)}};
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

OrderedJson catwRecord(const CatwRecord& c) {
    OrderedJson data = OrderedJson::array();
    for (char byte : c.data) data.push_back(static_cast<unsigned char>(byte));
    return {{"values", c.values}, {"data", data}};
}

OrderedJson scenRecord(const ScenRecord& s) {
    return {{"scenFloat1", number(s.scenFloat1)}, {"scenFloat2", number(s.scenFloat2)},
            {"scenFloat3", number(s.scenFloat3)}, {"scenInt", s.scenInt},
            {"scenFloat4", number(s.scenFloat4)}};
}

OrderedJson scobRecord(const ScobRecord& s) {
    return {{"text1", text(s.text1)}, {"text2", text(s.text2)}, {"values", arrayOf(s.values, number)}};
}

// The used part of the terrain grid, row by row.
OrderedJson terrain(const ZvTrack& track) {
    int rows = std::clamp(track.terrainRows, 0, kTerrainMaxRows);
    int columns = std::clamp(track.terrainColumns, 0, kTerrainMaxColumns);
    OrderedJson out = OrderedJson::array();
    for (int r = 0; r < rows; ++r) {
        OrderedJson row = OrderedJson::array();
        for (int c = 0; c < columns; ++c) row.push_back(number(terrainHeight(&track, r, c)));
        out.push_back(std::move(row));
    }
    return out;
}

void addHeader(const ZvTrack& t, OrderedJson* out) {
    OrderedJson& o = *out;
    o["headerValue"] = t.headerValue;
    o["major"] = t.major;
    o["minor"] = t.minor;
    o["revision"] = t.revision;
    o["markup"] = t.markup;
    o["headerByte"] = t.headerByte;
    o["use16friction"] = t.use16friction;
    o["trckLength"] = t.trckLength;
    o["coasterStyle"] = t.coasterStyle;
    o["trckValue"] = t.trckValue;
    o["trckEntries"] = listOf(t.trckEntries, trckEntry);
    o["trackColors"] = arrayOf(t.trackColors, color);
    o["trckBytes"] = t.trckBytes;
    o["trckInt"] = t.trckInt;
    o["trckFlag"] = t.trckFlag;
    o["trckColor"] = color(t.trckColor);
    o["infoLength"] = t.infoLength;
    o["authorComments"] = t.authorComments ? text(t.authorComments) : OrderedJson(nullptr);
}

void addTrackAndSupports(const ZvTrack& t, OrderedJson* out) {
    OrderedJson& o = *out;
    o["bezrLength"] = t.bezrLength;
    o["bezierArray"] = listOf(t.bezierArray, bezier);
    o["segmLength"] = t.segmLength;
    o["closedTrack"] = t.closedTrack;
    o["segmentArray"] = listOf(t.segmentArray, segment);
    o["suppLength"] = t.suppLength;
    o["fundLength"] = t.fundLength;
    o["fundNodeArray"] = listOf(t.fundNodeArray, fundNode);
    o["rascLength"] = t.rascLength;
    o["trackNodeLists"] = listOf(t.trackNodeLists, trackNodeList);
    o["frenLength"] = t.frenLength;
    o["freeNodeArray"] = listOf(t.freeNodeArray, freeNode);
    o["tubeLength"] = t.tubeLength;
    o["tubeArray"] = listOf(t.tubeArray, tube);
    o["catwLength"] = t.catwLength;
    o["catwRecords"] = listOf(t.catwRecords, catwRecord);
}

void addSceneryAndTerrain(const ZvTrack& t, OrderedJson* out) {
    OrderedJson& o = *out;
    o["scenLength"] = t.scenLength;
    o["scenTrailer"] = t.scenTrailer;
    o["scenRecords"] = listOf(t.scenRecords, scenRecord);
    o["scobLength"] = t.scobLength;
    o["scobRecords"] = listOf(t.scobRecords, scobRecord);
    o["envcLength"] = t.envcLength;
    o["envcText1"] = text(t.envcText1);
    o["envcText2"] = text(t.envcText2);
    o["hasTerrain"] = t.hasTerrain;
    o["teraValue"] = t.teraValue;
    o["terrainColumns"] = t.terrainColumns;
    o["terrainRows"] = t.terrainRows;
    o["teraFloat1"] = number(t.teraFloat1);
    o["teraFloat2"] = number(t.teraFloat2);
    o["teraText1"] = text(t.teraText1);
    o["teraFloat3"] = number(t.teraFloat3);
    o["teraText2"] = text(t.teraText2);
    o["teraFloat4"] = number(t.teraFloat4);
    o["teraFlag1"] = t.teraFlag1;
    o["teraFloat5"] = number(t.teraFloat5);
    o["teraText3"] = text(t.teraText3);
    o["teraFloat6"] = number(t.teraFloat6);
    o["teraByte"] = t.teraByte;
    o["teraFlag2"] = t.teraFlag2;
    o["teraFloat7"] = number(t.teraFloat7);
    o["terrainHeights"] = terrain(t);
}

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

}  // namespace

OrderedJson trackToJson(const ZvTrack& track) {
    OrderedJson out = OrderedJson::object();
    addHeader(track, &out);
    addTrackAndSupports(track, &out);
    addSceneryAndTerrain(track, &out);
    return out;
}

void forEachNonFinite(OrderedJson& node, const NonFiniteVisitor& visit) {
    walkNonFinite(node, "", visit);
}

void replaceNonFinite(OrderedJson& node) {
    forEachNonFinite(node, [](const std::string&, OrderedJson& value) {
        value = nonFiniteName(value.get<double>());
    });
}

std::string nonFiniteName(double value) {
    if (std::isnan(value)) return "nan";
    return value < 0 ? "-inf" : "inf";
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
