// zvtrack dump: the JSON holds the values written, any text bytes survive,
// non-finite numbers are named, and only the used terrain is written.
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "trackJson.h"
#include "zvtrack_test_support.h"

using nlohmann::json;
using zvtest::ScratchDir;

namespace {

// What `zvtrack dump` prints for a document, parsed back.
json dumpThroughProgram(ZvTrack* track, const ScratchDir& dir) {
    const std::string path = dir.file("dumped.zvtrack");
    zvtest::saveTrack(path, track);
    zvtest::RunResult result = zvtest::run(std::string(ZVTRACK_EXE) + " dump " + zvtest::quoted(path), dir);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return json::parse(result.out);
}

// The Latin-1 code points of a JSON string, back as bytes.
std::string latin1Bytes(const std::string& utf8) {
    std::string bytes;
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else {
            bytes += static_cast<char>(((lead & 0x03) << 6) | (utf8[++i] & 0x3F));
        }
    }
    return bytes;
}

}  // namespace

TEST(ZvtrackDump, HoldsTheValuesOfTheDemoTrack) {
    ScratchDir dir;
    json doc = dumpThroughProgram(zvtest::demoTrack().get(), dir);
    EXPECT_EQ(doc["major"], 1);
    EXPECT_EQ(doc["minor"], 6);
    EXPECT_EQ(doc["coasterStyle"], 1);
    EXPECT_EQ(doc["closedTrack"], 1);
    EXPECT_EQ(doc["authorComments"], kDemoTrackComments);
    EXPECT_EQ(doc["trckEntries"].size(), 32u);
    ASSERT_EQ(doc["bezierArray"].size(), 10u);
    EXPECT_EQ(doc["bezierArray"][2]["position"], json({{"x", 28}, {"y", 30}, {"z", 2}}));
    EXPECT_EQ(doc["bezierArray"][3]["roll"], 0.5);
    EXPECT_FLOAT_EQ(doc["bezierArray"][2]["controlOut"]["x"].get<float>(), 33.6f);
    ASSERT_EQ(doc["segmentArray"].size(), 10u);
    const json& lift = doc["segmentArray"][1];
    EXPECT_EQ(lift["type"], kSegmentLift);
    EXPECT_EQ(lift["typeDataLength"], 36);
    EXPECT_EQ(lift["lift"]["lift2"], 3.5);
    EXPECT_FALSE(lift.contains("station"));
    // A loaded component of 255 reads back as -1.
    EXPECT_EQ(lift["color1"], json({{"alpha", -1}, {"blue", 0}, {"green", -1}, {"red", 0}}));
    EXPECT_EQ(doc["segmentArray"][2]["color3"]["red"], 5);
    EXPECT_EQ(doc["segmentArray"][2]["color3"]["blue"], 20);
    EXPECT_EQ(doc["segmentArray"][0]["station"]["station3"], 30);
    EXPECT_EQ(doc["segmentArray"][8]["brake"]["break16"], 4);
    ASSERT_EQ(doc["trackNodeLists"].size(), 10u);
    EXPECT_EQ(doc["trackNodeLists"][1]["nodes"].size(), 6u);
    EXPECT_EQ(doc["trackNodeLists"][1]["nodes"][0], json({{"nodeType", 7}, {"segmentPos", 0.15}}));
    EXPECT_EQ(doc["rascLength"], 40 + 10 * 4 + 34 * 24);
    EXPECT_EQ(doc["terrainHeights"], json::array());
}

TEST(ZvtrackDump, SupportRecordsKeepEveryField) {
    ScratchDir dir;
    auto track = zvtest::newTrack();
    addFundNode(1, 2.5f, 1, 0.25f, -3, 77, 4, 0, -6, track.get());
    addFreeNode(1.5f, 2, 3, track.get());
    addSupport(kEndFundNode, 0, 0, kEndFreeNode, 0, 0, 5, 9, 0, track.get());
    json doc = dumpThroughProgram(track.get(), dir);
    EXPECT_EQ(doc["fundNodeArray"][0],
              json({{"flagA", 1}, {"valueA", 2.5}, {"angleFlag", 1}, {"angle", 0.25}, {"fundByte", -3},
                    {"fundValue", 77}, {"x", 4}, {"y", 0}, {"z", -6}}));
    EXPECT_EQ(doc["freeNodeArray"][0], json({{"x", 1.5}, {"y", 2}, {"z", 3}, {"freeValue", 0}}));
    EXPECT_EQ(doc["tubeArray"][0],
              json({{"kind1", 1}, {"segment1", 0}, {"index1", 0}, {"kind2", 2}, {"segment2", 0},
                    {"index2", 0}, {"tubeType", 5}, {"tubeValue", 9}, {"tubeSize", 0}}));
}

TEST(ZvtrackDump, FloatsKeepTheirShortestForm) {
    auto track = zvtest::newTrack();
    track->bezierArray[0].roll = 0.1f;
    std::ostringstream text;
    writeTrackJson(*track, text);
    EXPECT_NE(text.str().find("\"roll\": 0.1,\n"), std::string::npos) << text.str();
}

// The file stores a segment's typeDataLength after its other fields and keeps
// SCEN's nested count and the presence of TERA outside the chunks' fields; the
// dump shows every value where the document declares it.
TEST(ZvtrackDump, ShowsTheFieldsInTheDocumentsOrder) {
    std::ostringstream text;
    writeTrackJson(*zvtest::demoTrack(), text);
    const OrderedJson doc = OrderedJson::parse(text.str());
    auto keys = [](const OrderedJson& object) {
        std::vector<std::string> names;
        for (const auto& item : object.items()) names.push_back(item.key());
        return names;
    };
    EXPECT_EQ(keys(doc),
              (std::vector<std::string>{
                  "headerValue", "major", "minor", "revision", "markup", "headerByte", "use16friction",
                  "trckLength", "coasterStyle", "trckValue", "trckEntries", "trackColors", "trckBytes",
                  "trckInt", "trckFlag", "trckColor", "infoLength", "authorComments", "bezrLength",
                  "bezierArray", "segmLength", "closedTrack", "segmentArray", "suppLength", "fundLength",
                  "fundNodeArray", "rascLength", "trackNodeLists", "frenLength", "freeNodeArray",
                  "tubeLength", "tubeArray", "catwLength", "catwRecords", "scenLength", "scenTrailer",
                  "scenRecords", "scobLength", "scobRecords", "envcLength", "envcText1", "envcText2",
                  "hasTerrain", "teraValue", "terrainColumns", "terrainRows", "teraFloat1", "teraFloat2",
                  "teraText1", "teraFloat3", "teraText2", "teraFloat4", "teraFlag1", "teraFloat5",
                  "teraText3", "teraFloat6", "teraByte", "teraFlag2", "teraFloat7", "terrainHeights"}));
    EXPECT_EQ(keys(doc["segmentArray"][1]),
              (std::vector<std::string>{"typeDataLength", "type", "segmentFlag", "color1", "color2", "color3",
                                        "segmentFlag2", "segmentValue", "lift"}));
    EXPECT_EQ(keys(doc["bezierArray"][0]), (std::vector<std::string>{"position", "controlIn", "controlOut",
                                                                     "roll", "rollFlag", "auxFlag1", "auxFlag2"}));
}

TEST(ZvtrackDump, EveryTextByteSurvives) {
    ScratchDir dir;
    std::string allBytes;
    for (int b = 1; b < 256; ++b) allBytes += static_cast<char>(b);
    auto track = zvtest::newTrack();
    setAuthorComments(allBytes.c_str(), track.get());
    track->envcText1 = "caf\xE9";
    track->trckEntries[0].text = "\xFF\x80 x";
    json doc = dumpThroughProgram(track.get(), dir);
    EXPECT_EQ(latin1Bytes(doc["authorComments"]), allBytes);
    EXPECT_EQ(latin1Bytes(doc["envcText1"]), "caf\xE9");
    EXPECT_EQ(latin1Bytes(doc["trckEntries"][0]["text"]), "\xFF\x80 x");
}

TEST(ZvtrackDump, NonFiniteNumbersBecomeStrings) {
    ScratchDir dir;
    auto track = zvtest::newTrack();
    track->bezierArray[0].roll = std::numeric_limits<float>::quiet_NaN();
    track->bezierArray[0].position.x = std::numeric_limits<float>::infinity();
    track->bezierArray[0].position.z = -std::numeric_limits<float>::infinity();
    json doc = dumpThroughProgram(track.get(), dir);
    EXPECT_EQ(doc["bezierArray"][0]["roll"], "nan");
    EXPECT_EQ(doc["bezierArray"][0]["position"]["x"], "inf");
    EXPECT_EQ(doc["bezierArray"][0]["position"]["z"], "-inf");
}

TEST(ZvtrackDump, TerrainGivesOnlyItsUsedRowsAndColumns) {
    ScratchDir dir;
    auto track = zvtest::newTrack();
    track->hasTerrain = 1;
    track->terrainRows = 2;
    track->terrainColumns = 3;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) setTerrainHeight(r, c, float(10 * r + c), track.get());
    json doc = dumpThroughProgram(track.get(), dir);
    EXPECT_EQ(doc["hasTerrain"], 1);
    EXPECT_EQ(doc["terrainHeights"], json({{0, 1, 2}, {10, 11, 12}}));
}

// The dump is written piece by piece; its text must be the one the JSON
// library prints for the whole document at once, which is what it always was.
TEST(ZvtrackDump, IsTheJsonLibrarysOwnLayoutOfTheWholeDocument) {
    ScratchDir dir;
    auto track = zvtest::demoTrack();
    addSupport(kEndFreeNode, 0, 0, kEndFundNode, 0, 0, 5, 9, 2, track.get());
    addFreeNode(1, std::numeric_limits<float>::infinity(), 3, track.get());
    addFundNode(0, 0, 0, 0, 0, 0, 1, 0, 3, track.get());
    track->trackNodeLists.emplace_back();  // an empty list among full ones
    track->catwRecords.push_back(CatwRecord{{1, 2, 3, 4, 5, 6}, {'a', '\xff'}});
    track->catwRecords.emplace_back();
    ScobRecord object;
    object.text1 = "tree";
    object.values[3] = std::numeric_limits<float>::quiet_NaN();
    track->scobRecords.push_back(object);
    track->hasTerrain = 1;
    track->terrainRows = 2;
    track->terrainColumns = 3;
    const std::string path = dir.file("full.zvtrack");
    zvtest::saveTrack(path, track.get());
    zvtest::RunResult result = zvtest::run(std::string(ZVTRACK_EXE) + " dump " + zvtest::quoted(path), dir);
    ASSERT_EQ(result.status, 0) << result.err;
    const OrderedJson whole = OrderedJson::parse(result.out);
    EXPECT_EQ(whole.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n", result.out);
    EXPECT_EQ(whole["freeNodeArray"][0]["y"], "inf");
    EXPECT_EQ(whole["catwRecords"][1], OrderedJson({{"values", {0, 0, 0, 0, 0, 0}}, {"data", OrderedJson::array()}}));
}
