// The scene laid out for fast frames: its points grouped by place and handed
// to GL once, and the choices a frame makes from what it can see.
//
// Detail follows size on the screen. A node whose shape would be smaller than
// about a pixel is drawn as a point; a segment of the centre line that spans
// few pixels is drawn with fewer pieces (every piece end still a point of the
// full line); anything wholly outside the frame's volume is not sent at all.
// Near the camera everything is drawn in full, exactly as without these
// choices.
//
//   PreparedScene::build  groups and uploads a scene (once per document).
//   selectNodes           the nodes of one set the frame can see: groups and
//                         nodes to draw as points, and the nodes to draw as
//                         shapes of `shapeRadius`.
//   selectCentreLines     per level of detail, the segments to draw with it;
//   addCentreLine         adds one segment to such a selection at its level.
//   selectTubes           the tube lines of the groups the frame can see.
//   detailLevel           the coarsest level of detail (an index into
//                         `levels`, pieces per segment, finest first) whose
//                         pieces span at most kPixelsPerPiece pixels on a
//                         segment this many pixels long; the coarsest when
//                         none does.
#pragma once

#include <array>
#include <vector>

#include "itemGroups.h"
#include "scene.h"
#include "vertexBuffer.h"
#include "viewGeometry.h"

// Pieces per segment at each level of detail of the centre line: every
// level's points are points of the full line.
constexpr std::array<int, 4> kCentreLineLevels{kCentreLinePieces, 64, 16, 4};
// A shape whose radius looks smaller than this many pixels becomes a point.
constexpr float kPointPixels = 0.5f;
// With pieces this short, fewer of them draw the same pixels.
constexpr float kPixelsPerPiece = 0.5f;

struct NodeSet {
    std::vector<Point3D> points;  // grouped by place
    std::vector<ItemGroup> groups;
    VertexBuffer buffer;  // the points, in the same order
};

struct CentreLineSet {
    std::vector<Sphere> bounds;  // per drawn segment, in scene order
    std::vector<float> lengths;  // length of each segment's full line
    // Per level, every segment's line strip of pieces + 1 points.
    std::array<VertexBuffer, kCentreLineLevels.size()> levels;
};

struct TubeSet {
    std::vector<TubeLine> tubes;  // grouped by place
    std::vector<ItemGroup> groups;
    VertexBuffer lines;  // two vertices per tube, in the same order
};

struct PreparedScene {
    CentreLineSet centreLines;
    NodeSet trackNodes, fundNodes, freeNodes, bezierPoints;
    TubeSet tubes;

    void build(const TrackScene& scene);
};

struct NodeSelection {
    RangeList points;
    std::vector<size_t> shapes;  // indices into the set's points
};

void selectNodes(const NodeSet& set, float shapeRadius, const ViewVolume& view,
                 NodeSelection* selection);
using CentreLineSelection = std::array<RangeList, kCentreLineLevels.size()>;
void selectCentreLines(const CentreLineSet& set, const ViewVolume& view,
                       CentreLineSelection* selection);
void addCentreLine(const CentreLineSet& set, size_t segment, const ViewVolume& view,
                   CentreLineSelection* selection);
void selectTubes(const TubeSet& set, const ViewVolume& view, RangeList* lines);

template <size_t N>
size_t detailLevel(float pixelLength, const std::array<int, N>& levels) {
    size_t level = 0;
    while (level + 1 < N && pixelLength < levels[level + 1] * kPixelsPerPiece) ++level;
    return level;
}
