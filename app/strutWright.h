// The support generator: turns the track nodes (markers) of a document into
// support structures and removes the markers.
//
//   setTrack / setSupport  hand over the document and the settings record
//                          (neither is owned or copied).
//   Make                   removes what an earlier run recorded, then for each
//                          style entry 0..lastStyle prints its index ("%d\n" on
//                          stdout) and runs Type1 when its method is 1.
//   Type1                  builds at every track node a connector strut and, by
//                          node type, a column (2), a column with a braced leg
//                          (7) or a crossbeam (6); then removes the markers.
#pragma once

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

// Settings and bookkeeping of a generation run. The recording lists grow as
// needed; slot 0 of each is never used, slot k holds the k-th recorded index.
struct Supports {
    int lastFreeNode = 0;
    std::vector<int> freeNodes = std::vector<int>(1, 0);
    int lastFundNode = 0;
    std::vector<int> fundNodes = std::vector<int>(1, 0);
    int lastTube = 0;
    std::vector<int> tubes = std::vector<int>(1, 0);
    int lastStyle = -1;  // entries 0..lastStyle are run
    std::vector<SupportStyle> styles;
};

// Writes the driver's defaults: two style entries, both of method 1.
void setDriverDefaults(Supports* supports);

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
    ZvTrack* track = nullptr;
    BezierCalc bezierCalc;
    TrackCalc trackCalc;
    Vectors vectors;
    Supports* supports = nullptr;
};
