// The support generator: turns the track nodes (markers) of a document into
// support structures and removes the markers.
//
//   setTrack / setSupport  hand over the document and the settings record
//                          (neither is owned or copied).
//   Make                   removes what an earlier run recorded (in descending
//                          index order, then resets the counts), then for each
//                          style entry 0..lastStyle prints its index ("%d\n" on
//                          stdout) and runs Type1 when its method is 1.
//   Type1                  builds at every track node a connector strut and, by
//                          node type, a column (2), a column with a braced leg
//                          (7) or a crossbeam (6); then removes the markers it
//                          built at. Kept in place, with nothing built:
//                          - attachment points: nodes that an existing tube end
//                            of kind 3 names; afterwards every such end is
//                            renumbered to its node's new index;
//                          - markers of a segment without a curve (warning);
//                          - markers whose structure would hold a non-finite
//                            number (warning).
//                          Segments without a track-node list count as empty;
//                          lists beyond the segment count are left alone.
//                          Degenerate geometry stays finite: a marker whose
//                          tangent is vertical or vanishes (no more than
//                          rounding noise) takes the side (-1, 0, 0) and
//                          heading 0 of a track along +z; collars on a member
//                          of zero length sit at its joint; a crossbeam
//                          without bank stands its column 0.5 towards -L (+L
//                          when overturned); a brace top at foot height puts
//                          the tie's end at the brace foot.
//   getSupport             the tube type `step` places along the ladder
//                          2, 0, 1, 5, 6 from `type`; 2 off either end.
//   matchColor             1 when all four components agree as stored bytes
//                          (255 and -1 are the same), else 0.
//   getLinearPosByValue    (1 - t) a + t b, per coordinate in single precision.
//
// Warnings go to stderr, prefixed "strutwright: ", each distinct one once per
// generator object; stdout carries only the style-entry indices.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "calc.h"
#include "../track/calc.h"
#include "../track/zvtrack.h"

// Tube types, in the order of the ladder that collars and braces step along.
enum TubeType : int {
    kTubeType2 = 2,
    kTubeType0 = 0,
    kTubeType1 = 1,
    kTubeType5 = 5,
    kTubeType6 = 6,
};

// Track-node types the generator builds structures for.
enum NodeType : int {
    kNodeColumn = 2,
    kNodeCrossbeam = 6,
    kNodeBracedLeg = 7,
};

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

// Generates the supports of `track` as the strutwright program does: a fresh
// generator and settings record with the driver's defaults, one Make (which
// prints the entry indices on stdout).
void generateWithDriverDefaults(ZvTrack* track);

class strutWright {
public:
    void setTrack(ZvTrack* track);
    void setSupport(Supports* supports);
    void Make();
    void Type1(int style);

    void FreeNode(int index);
    void FundNode(int index);
    void Tube(int index);

    int getSupport(int type, int step);
    int matchColor(Color a, Color b);
    Point3D getLinearPosByValue(Point3D a, Point3D b, float t);

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
    bool buildAtMarker(int segment, int node, const SegmentStyle& style, StructurePlan& plan);
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
    void warnOnce(const std::string& message);

    ZvTrack* track = nullptr;
    BezierCalc bezierCalc;
    TrackCalc trackCalc;
    Vectors vectors;
    Supports* supports = nullptr;
    std::set<std::string> warningsGiven;
};
