// The solid view of a prepared scene: depth, lighting, support tubes as
// cylinders with a radius by tube type, foundations as shaded blocks, the
// track as two running rails and a spine that follow the banking, nodes as
// small spheres. Detail follows size on the screen as in the flat view: a
// tube thinner than about a pixel is a line, a node smaller than a pixel a
// point, a far track three lines, and one line once its rails are closer
// together than a pixel.
//
//   solidTrack  samples the rails of `track` (trackRails.h) and hands them to
//               GL; `scene` is the prepared scene of the same document and
//               must outlive this object.
//   draw        one frame's share: track, nodes and tubes, the tubes named
//               in `warned` (document indices) in the warning colour. The
//               caller has set the matrices (camera and scene shift) and
//               cleared colour and depth; `shapeLists` are the renderer's
//               lists of its shapes (drawTrack::Shape). GL state is left as
//               it was found.
//   tubeRadius  a support tube's radius by its type.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "drawTrack.h"
#include "preparedScene.h"
#include "trackRails.h"
#include "tube.h"
#include "vertexBuffer.h"
#include "viewGeometry.h"

float tubeRadius(int tubeType);

class solidTrack {
public:
    solidTrack(ZvTrack* track, const PreparedScene& scene);
    solidTrack(const solidTrack&) = delete;
    solidTrack& operator=(const solidTrack&) = delete;

    void draw(const ViewVolume& view, const TubeList& warned, unsigned shapeLists);

    // Pieces per segment of the rails drawn as lines, at each level of detail.
    static constexpr std::array<int, 3> kRailLevels{kRailPieces, 8, 2};

private:
    struct TubeSelection {
        RangeList lines;
        std::vector<size_t> cylinders;  // indices into the scene's tubes
    };

    void selectRails(const ViewVolume& view);
    void drawRails();
    void selectSupports(const ViewVolume& view);
    void drawSupports(const TubeList& warned);
    void drawCylinder(const TubeLine& tube) const;
    void drawNodes(const NodeSet& set, drawTrack::Shape shape, drawTrack::Rgb colour,
                   unsigned shapeLists, const ViewVolume& view);

    const PreparedScene& scene_;
    std::vector<std::vector<RailSample>> rails_;
    // Per level, the left rail's, right rail's and spine's strips of each segment.
    std::array<VertexBuffer, kRailLevels.size()> railLines_;
    unsigned cylinderList_ = 0;

    // Per-frame choices, kept to reuse their memory.
    CentreLineSelection singleLines_;
    std::array<RangeList, kRailLevels.size()> railLineSelection_;
    std::vector<std::pair<size_t, size_t>> nearSegments_;  // segment, samples per piece
    VertexBuffer nearRails_;
    TubeSelection tubes_;
    NodeSelection nodes_;
};
