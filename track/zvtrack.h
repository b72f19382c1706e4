// The track document: the in-memory form of one .zvtrack file.
//
// A plain record of fields and collections. Every collection is a std::vector
// whose size is the record count the file stores in front of it. Each chunk of
// the file has a length word here (`...Length`): it is carried, never computed.
// The loader stores it, the saver writes it back, and only the add and delete
// operations move it by one record's stored size.
//
// Ownership: the document owns its collections and texts, except for
// `authorComments`, which is a pointer to text owned by whoever stored it
// (setAuthorComments). Text the loader reads is kept alive by
// `ownedAuthorComments`, so copies and moves of a document stay valid.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "std.h"

// Stored sizes of one record, by which add and delete move the length words.
constexpr int kTubeRecordSize = 48;
constexpr int kFreeNodeRecordSize = 28;
constexpr int kFundNodeRecordSize = 92;
constexpr int kTrackNodeRecordSize = 24;
constexpr int kTrackNodeListSize = 4;    // the count in front of each list
constexpr int kSegmentRecordSize = 37;   // common part; the type block is not counted
constexpr int kBezierRecordSize = 60;

// The terrain grid every document can hold.
constexpr int kTerrainMaxRows = 640;
constexpr int kTerrainMaxColumns = 1000;

// Segment types; the type selects which settings block the file stores.
enum SegmentType : int {
    kSegmentPlain = 0,
    kSegmentStation = 1,
    kSegmentLift = 2,
    kSegmentTransport = 3,
    kSegmentBrake = 4,
};

// What a tube end names (TubeRecord kind1, kind2): the generator joins free
// and foundation nodes; an author's tube may end at a marker.
enum TubeEndKind : int {
    kEndFundNode = 1,
    kEndFreeNode = 2,
    kEndTrackNode = 3,
};

// Marker (track node) types (TrackNodeRecord nodeType): the generator builds a
// structure by them, placement chooses them by the track's height and bank.
// A marker of any other type gets the connector strut only.
enum MarkerType : int {
    kMarkerColumn = 2,     // a column to the ground
    kMarkerStrutOnly = 3,  // what the example tracks use for "strut only"
    kMarkerCrossbeam = 6,  // a crossbeam with an offset column
    kMarkerBracedLeg = 7,  // a column and a braced second leg
};

// Tube types (TubeRecord tubeType): the gauges of support tube, thinnest
// first. They form the ladder the generator steps along from a column's type,
// one step down for its braces and ties, one up for its collars (tube.h); the
// solid view draws them thicker up the ladder.
enum TubeType : int {
    kTubeLightest = 2,  // braces of columns at exactly 15; off either end of the ladder
    kTubeLight = 0,     // connector struts; columns at exactly 15
    kTubeMedium = 1,    // columns below 15
    kTubeHeavy = 5,     // columns above 15
    kTubeHeaviest = 6,  // collars of columns above 15
};

struct BezierRecord {              // BEZR record, 60 bytes
    Point3D position;              // 3 Floats
    Point3D controlIn;             // 3 Floats: third control point of the segment ending here
    Point3D controlOut;            // 3 Floats: second control point of the segment starting here
    float roll = 0.0f;             // Float, radians
    int rollFlag = 0;              // Bool: non-zero switches the banking ease correction off
    int auxFlag1 = 0;              // Bool
    int auxFlag2 = 0;              // Bool
                                   // Null run 17
};

struct StationSettings {           // type block 1, 126 bytes
    float station1 = 0, station2 = 0, station3 = 0, station4 = 0;
    int8_t station5 = 0, station6 = 0;
    int station7 = 0;              // Bool
    int8_t station8 = 0;
    float station9 = 0;
    int8_t station10 = 0, station11 = 0;
    int station12 = 0;             // Bool
    int station13 = 0;             // Bool
    float station14 = 0, station15 = 0, station16 = 0;
    int station17 = 0;             // Bool
    float station18 = 0, station19 = 0, station20 = 0;
    int8_t station21 = 0;
    float station22 = 0;
    int station23 = 0;             // Bool
};

struct LiftSettings {              // type block 2, 36 bytes
    int8_t lift1 = 0;
    float lift2 = 0, lift3 = 0, lift4 = 0;
    int lift5 = 0, lift6 = 0;      // Bools
    int lift7 = 0;                 // Int
};

struct TransportSettings {         // type block 3, 28 bytes
    float transport1 = 0, transport2 = 0, transport3 = 0;
    int8_t transport4 = 0;
    int transport5 = 0, transport6 = 0;  // Bools
    int8_t transport7 = 0, transport8 = 0;
    float transport9 = 0;
};

struct BreakSettings {             // type block 4, 50 bytes
    float break1 = 0, break2 = 0, break3 = 0, break4 = 0;
    int break5 = 0, break6 = 0;    // Bools
    float break7 = 0, break8 = 0, break9 = 0;
    int break10 = 0, break11 = 0, break12 = 0;  // Bools
    int8_t break13 = 0;
    int break14 = 0;               // Int
    int break15 = 0;               // Bool
    float break16 = 0;
    int break17 = 0;               // Bool
};

struct SegmentRecord {             // SEGM record: 37 bytes plus the type block
    int typeDataLength = 0;        // Int (stored after the common part): length of the type block
    int type = 0;                  // Int: SegmentType
    int segmentFlag = 0;           // Bool
    Color color1;                  // Color: opaque pure green mirrors the braced leg
    Color color2;                  // Color: anything but opaque pure red adds the extra diagonal
    Color color3;                  // Color: red = tie height, blue = brace angle (255 = default)
    int segmentFlag2 = 0;          // Bool
    int segmentValue = 0;          // Int
                                   // Null run 11
    StationSettings station;       // stored only for type 1
    LiftSettings lift;             // stored only for type 2
    TransportSettings transport;   // stored only for type 3
    BreakSettings brake;           // stored only for type 4
};

struct TrackNodeRecord {           // RASC node, 24 bytes
    int nodeType = 0;              // Int: what the support generator builds here
    float segmentPos = 0.0f;       // Float: curve parameter along the segment, 0..1
                                   // Null run 16
};

struct TrackNodeList {             // RASC list: Int count, then the nodes
    std::vector<TrackNodeRecord> nodes;
};

struct FundNodeRecord {            // FUND record, 92 bytes
    int flagA = 0;                 // Bool
    float valueA = 0.0f;           // Float
    int angleFlag = 0;             // Bool
    float angle = 0.0f;            // Float: turn about the vertical axis, radians
    int8_t fundByte = 0;           // Byte
    int fundValue = 0;             // Int
                                   // Null run 1
    float x = 0.0f, y = 0.0f, z = 0.0f;  // 3 Floats
                                   // Null run 64
};

struct FreeNodeRecord {            // FREN record, 28 bytes
    float x = 0.0f, y = 0.0f, z = 0.0f;  // 3 Floats
    int freeValue = 0;             // Int
                                   // Null run 12
};

struct TubeRecord {                // TUBE record, 48 bytes (file order = field order)
    int kind1 = 0;                 // Int: TubeEndKind of the first end
    int segment1 = 0;              // Int: segment index of a track-node end
    int index1 = 0;                // Int
    int kind2 = 0;                 // Int
    int segment2 = 0;              // Int
    int index2 = 0;                // Int
    int tubeType = 0;              // Int
    int tubeValue = 0;             // Int
    float tubeSize = 0.0f;         // Float
};

struct TrckEntry {                 // TRCK entry: 28 bytes plus the text
    int flag = 0;                  // Bool, then Null run 7
    std::string text;              // String
    std::array<Color, 4> colors{}; // 4 Colors
};

struct CatwRecord {                // CATW record: 28 bytes plus the data
    std::array<int, 6> values{};   // 6 Ints
    std::vector<char> data;        // Int dataLength, then the bytes
};

struct ScenRecord {                // SCEN record, 64 bytes
    float scenFloat1 = 0, scenFloat2 = 0, scenFloat3 = 0;
    int scenInt = 0;
    float scenFloat4 = 0;
                                   // Null run 44
};

struct ScobRecord {                // SCOB record
    std::string text1;             // String
    std::string text2;             // String
    std::array<float, 16> values{};// 16 Floats
                                   // Null run 16
};

struct ZvTrack {
    // ZORV
    int headerValue = 0;           // length word of ZORV
    int8_t major = 0, minor = 0, revision = 0, markup = 0;
    int8_t headerByte = 0;
    int use16friction = 0;         // Bool

    // TRCK
    int trckLength = 0;
    int coasterStyle = 0;
    int trckValue = 0;
    std::vector<TrckEntry> trckEntries;
    std::array<Color, 8> trackColors{};
    std::array<int8_t, 4> trckBytes{};
    int trckInt = 0;
    int trckFlag = 0;              // Bool
    Color trckColor;

    // INFO
    int infoLength = 0;
    const char* authorComments = nullptr;  // not owned; see setAuthorComments
    std::shared_ptr<const std::string> ownedAuthorComments;  // keeps loaded text alive

    // BEZR
    int bezrLength = 0;
    std::vector<BezierRecord> bezierArray;

    // SEGM
    int segmLength = 0;
    int closedTrack = 0;           // Bool: the last segment runs from the last bezier to bezier 0
    std::vector<SegmentRecord> segmentArray;

    // SUPP and its nested chunks
    int suppLength = 0;
    int fundLength = 0;
    std::vector<FundNodeRecord> fundNodeArray;
    int rascLength = 0;
    std::vector<TrackNodeList> trackNodeLists;  // list i belongs to segment i
    int frenLength = 0;
    std::vector<FreeNodeRecord> freeNodeArray;
    int tubeLength = 0;
    std::vector<TubeRecord> tubeArray;
    int catwLength = 0;
    std::vector<CatwRecord> catwRecords;

    // SCEN, SCOB
    int scenLength = 0;
    int scenTrailer = 0;           // nested count of SCEN as loaded; the saver writes 1
    std::vector<ScenRecord> scenRecords;
    int scobLength = 0;
    std::vector<ScobRecord> scobRecords;

    // ENVC
    int envcLength = 0;
    std::string envcText1;
    std::string envcText2;

    // TERA
    int hasTerrain = 0;            // 1 once a TERA chunk was loaded; saved only then
    int teraValue = 0;             // length word of TERA
    int terrainColumns = 0;        // at most kTerrainMaxColumns
    int terrainRows = 0;           // at most kTerrainMaxRows
    float teraFloat1 = 0, teraFloat2 = 0;
    std::string teraText1;
    float teraFloat3 = 0;
    std::string teraText2;
    float teraFloat4 = 0;
    int teraFlag1 = 0;             // Bool
    float teraFloat5 = 0;
    std::string teraText3;
    float teraFloat6 = 0;
    int8_t teraByte = 0;
    int teraFlag2 = 0;             // Bool
    float teraFloat7 = 0;
    // Heights, row-major, kTerrainMaxRows x kTerrainMaxColumns once allocated;
    // empty means every height is 0 (no terrain was ever loaded or set).
    std::vector<float> terrainHeights;
};

// Height at row r, column c of the terrain grid (0 when no grid is allocated).
float terrainHeight(const ZvTrack* track, int row, int column);
// Sets one height, allocating the grid on first use; ignores cells outside it.
void setTerrainHeight(int row, int column, float height, ZvTrack* track);
