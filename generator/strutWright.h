// The support generator: builds a support structure at every track node
// (marker) of a document and removes the markers it built at.
//
//   Make   removes what an earlier run recorded, then for each style entry
//          0..lastStyle writes its index ("%d\n") to the entry output (stdout
//          unless set otherwise) and runs Type1 when its method is 1.
//   Type1  at every marker: the connector strut, then by marker type a column
//          (2), a column and a braced leg (7) or a crossbeam (6); then removes
//          the markers it built at. It builds nothing at, and keeps in place:
//          attachment points (markers an existing tube end names; those ends
//          are renumbered to the kept markers' new indices), markers of a
//          segment without a curve, markers whose position along the segment
//          lies outside 0..1 (the curve would be extended past its ends), and
//          markers whose structure would hold a non-finite number; the last
//          three with a warning.
//   planStructure  the tubes a marker would get, as Type1 builds them, without
//          touching the document (for choosing where markers go).
//   generationWarnings  the warnings a run would give, every marker's
//          structure planned and none built (for checking a track).
//   Degenerate geometry stays finite (a vertical tangent takes the side of a
//   track along +z, a collar on a zero-length member sits at its joint, a
//   crossbeam without bank stands its column 0.5 towards -L), so every
//   structure that is built can be saved and read back.
// The report holds what was built: every structure with its marker, its kind
// and its tubes as end points with their roles and document indices, so the
// checks, the summary and the view never turn indices back into points.
// Warnings go into the report, each distinct one once and with its kind; the
// caller prints them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "calc.h"
#include "pieces.h"
#include "reportLines.h"
#include "segmentCalc.h"
#include "trackFrame.h"
#include "zvtrack.h"

// One entry of the style table; only `method` is read.
struct SupportStyle {
    int param0 = 0;
    float param1 = 0;
    int method = 0;  // 1 runs Type1 for this entry
    float param3 = 0, param4 = 0, param5 = 0, param6 = 0, param7 = 0, param8 = 0;
    int param9 = 0, param10 = 0, param11 = 0;
};

constexpr int kGenerationMethod1 = 1;
// Entries of the style table the driver sets up.
constexpr int kStyleTableSize = 6500;

// Settings and bookkeeping of a generation run. The recording lists grow as
// needed; slot 0 of each is never used, slot k holds the k-th recorded index.
struct Supports {
    int lastFreeNode = 0;
    std::vector<int> freeNodes = std::vector<int>(1, 0);
    int lastFundNode = 0;
    std::vector<int> fundNodes = std::vector<int>(1, 0);
    int lastTube = 0;
    std::vector<int> tubes = std::vector<int>(1, 0);
    int lastStyle = -1;  // entries 0..lastStyle are run; missing entries count as zero
    std::vector<SupportStyle> styles;
};

// Writes the driver's defaults: lastStyle 1, lastTube 0, two style entries of
// method 1 and the rest of a kStyleTableSize table zero.
void setDriverDefaults(Supports* supports);

// What became of the markers of a generation run.
struct MarkerCounts {
    int found = 0;             // markers on the segments when the run began
    int columns = 0;           // built at markers of type 2
    int bracedLegs = 0;        // type 7
    int crossbeams = 0;        // type 6
    int strutsOnly = 0;        // any other type: the connector strut alone
    int attachmentPoints = 0;  // kept: an existing tube end names them
    int withoutCurve = 0;      // kept: their segment has no curve
    int outOfRange = 0;        // kept: their position along the segment lies outside 0..1
    int nonFinite = 0;         // kept: their structure would not be finite
};

// What a member of a structure is.
enum class MemberRole : uint8_t {
    kConnectorStrut,
    kColumn,
    kCollar,
    kBrace,
    kSecondLeg,
    kTie,
    kDiagonal,
    kCrossbeam,
    kUnknown,  // a tube of a track file: what it is was not recorded
};
// The word the messages use: "strut", "column", "collar", "brace", "second
// leg", "tie", "diagonal", "crossbeam", "tube".
const char* memberWord(MemberRole role);

// What a marker's structure is, by its type.
enum class StructureKind : uint8_t { kStrutOnly, kColumn, kBracedLeg, kCrossbeam };
StructureKind structureKind(int markerType);

// One support tube of a structure: where it runs and what it is.
struct BuiltTube {
    TubeSegment ends;      // from its first end to its second
    int tube = -1;         // index in the document's tube array; -1 while only planned
    MemberRole role = MemberRole::kUnknown;
};

// One structure a run built: the marker it stands for and its tubes.
struct BuiltStructure {
    int segment = 0;       // the marker's segment, from 0
    float position = 0;    // the marker's curve parameter along it
    int nodeType = 0;      // the marker's type (MarkerType)
    StructureKind kind = StructureKind::kStrutOnly;
    size_t firstTube = 0;  // its tubes: GenerationReport::tubes[firstTube, firstTube + tubeCount)
    size_t tubeCount = 0;
};

// The kinds of the generator's warnings (ReportLine::kind), each capped apart:
//   "segment 3: the marker at 2 lies outside 0..1 along it; it was left in place"
//   "segment 3: the marker at 0.5 along it gives non-finite coordinates; it was left in place"
//   "segment 3 has no curve; its 2 markers were left in place"
//   "brace angle 89 degrees is nearly horizontal; braced legs stand far from their columns"
constexpr const char* kOutOfRangeLines = "out of range";
constexpr const char* kNotFiniteLines = "not finite";
constexpr const char* kWithoutCurveLines = "without a curve";
constexpr const char* kFarBraceLines = "far brace";

// What a generation run has to tell its caller.
struct GenerationReport {
    std::vector<ReportLine> warnings;  // each distinct one once, in the order met
    MarkerCounts markers;
    std::vector<BuiltStructure> structures;  // in the order built
    std::vector<BuiltTube> tubes;            // of every structure, in the order built
    // Elements the run appended, after what it cleared: the last ones of each kind.
    size_t freeNodesAdded = 0;
    size_t fundNodesAdded = 0;
    size_t tubesAdded = 0;
};

// Generates the supports of `track` as the strutwright program does: a fresh
// generator and settings record with the driver's defaults and one Make, which
// writes the entry indices to `entryOutput` (none when it is null).
GenerationReport generateWithDriverDefaults(ZvTrack* track, FILE* entryOutput = stdout);

// The tubes Type1 would build for `marker` (its node type and position) on
// `segment`, in the order it adds them, without document indices; the
// document is not changed. Empty where Type1 would build nothing: a segment
// without a curve or a record, or a structure that would not be finite.
std::vector<BuiltTube> planStructure(ZvTrack* track, int segment, const TrackNodeRecord& marker);

// The warnings generateWithDriverDefaults would give on `track`, found by
// planning the structure of every marker it would build at; the document is
// not changed.
std::vector<ReportLine> generationWarnings(ZvTrack* track);

// Whether a braced leg under track at `trackHeight` gets its tie section:
// the track lies at least 2h + 2.9 above the ground.
bool tieSectionFits(float trackHeight, float tieHeight);

class strutWright {
public:
    void setTrack(ZvTrack* track);
    void setSupport(Supports* supports);
    void setEntryOutput(FILE* output);  // null: the indices are not written
    const GenerationReport& report() const { return runReport; }
    GenerationReport takeReport() { return std::move(runReport); }  // leaves it empty
    void Make();
    void Type1(int style);

    void FreeNode(int index);
    void FundNode(int index);
    void Tube(int index);

    int getSupport(int type, int step);
    int matchColor(Color a, Color b);
    Point3D getLinearPosByValue(Point3D a, Point3D b, float t);

    // See planStructure; the document is the one set with setTrack.
    std::vector<BuiltTube> planStructure(int segment, const TrackNodeRecord& marker);
    // Type1's walk over the markers, planning each structure and building
    // none; the report then holds the warnings a run would give.
    void planOnly();

private:
    struct SegmentStyle;    // what a segment's colours set for its markers
    struct NodeFrame;       // the frame and parameters of one marker
    class StructurePlan;    // the elements of one marker's structure, in order
    struct CollarEnds {     // the points 1.0 and 1.2 from a joint on a member
        Point3D near, far;
    };

    // What happens to each node of each processed segment after the run.
    using KeepFlags = std::vector<std::vector<char>>;

    void clearRecorded(std::vector<int>& recorded, int& count, void (*remove)(int, ZvTrack*));
    KeepFlags attachmentPoints(int segments);
    void reserveForStructures(const KeepFlags& keep);
    SegmentStyle segmentStyle(const SegmentRecord& record);
    void visitMarkers(KeepFlags& keep, bool build);
    bool planAtMarker(int segment, const SegmentStyle& style, const TrackNodeRecord& marker,
                      StructurePlan& plan);
    void buildAtMarker(int segment, const TrackNodeRecord& marker, StructurePlan& plan);
    bool planMarker(int segment, const SegmentStyle& style, const TrackNodeRecord& marker,
                    StructurePlan& plan);
    int markersOnSegments() const;
    NodeFrame nodeFrame(int segment, const SegmentStyle& style, const TrackNodeRecord& node);
    void planConnector(const NodeFrame& frame, StructurePlan& plan);
    void planColumn(const NodeFrame& frame, StructurePlan& plan);
    void planBracedLeg(const NodeFrame& frame, StructurePlan& plan);
    void planTieSection(const NodeFrame& frame, Point3D g2, Point3D braceFoot,
                        StructurePlan& plan);
    void planExtraDiagonal(const NodeFrame& frame, Point3D k2, int k2Node, StructurePlan& plan);
    void planCrossbeam(const NodeFrame& frame, StructurePlan& plan);
    void planCollar(CollarEnds ends, int type, StructurePlan& plan);
    void planCollarPair(CollarEnds first, CollarEnds second, int type, StructurePlan& plan);
    CollarEnds collarOn(Point3D a, Point3D b, bool fromB);
    CollarEnds verticalCollar(Point3D joint, float direction);
    Point3D pointAlong(Point3D a, Point3D b, float distance, bool fromB);
    void removeMarkers(const KeepFlags& keep, size_t tubesBefore);
    void warnAboutMarker(const char* kind, int segment, const TrackNodeRecord& marker,
                         const char* problem);
    void warnOnce(const char* kind, const std::string& message);

    ZvTrack* track = nullptr;
    BezierCalc bezierCalc;
    TrackCalc trackCalc;
    Vectors vectors;
    Supports* supports = nullptr;
    FILE* entryOutput = stdout;
    GenerationReport runReport;
    bool building = true;  // false while only planning: the warnings say what a run would do
    std::set<std::string> warningsGiven;
};
