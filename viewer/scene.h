// What the renderer draws for a document, computed without any GL call so it
// can be tested on its own and computed once for a document that no longer
// changes.
//
//   buildTrackScene  every element's drawing position:
//     - centre line: for each segment with a curve (segmentCurve; the closing
//       segment of a closed track runs to bezier 0) kCentreLinePieces + 1 points
//       at t = k / kCentreLinePieces; a segment without a curve has no line;
//     - track nodes of segments 0..count-1, placed by placeTrackNode; nodes of
//       a segment without a curve are left out;
//     - foundation nodes, free nodes and bezier positions as stored;
//     - tubes whose two ends both exist (kind 1 foundation node, kind 2 free
//       node, kind 3 track node placed by placeTrackNode); any other tube,
//       including one with an end kind outside 1..3, is left out.
//   placeTrackNode   the point at the node's fraction of its segment's arc
//                    length; when the arc-length search captures nothing (a
//                    fraction of 0, for one) the curve's point at parameter
//                    t = fraction. False when the node or its curve is missing.
#pragma once

#include <vector>

#include "curve.h"
#include "zvtrack.h"

constexpr int kCentreLinePieces = 256;

struct TubeLine {
    Point3D a;  // end 1 (kind1, segment1, index1)
    Point3D b;  // end 2 (kind2, segment2, index2)
};

struct TrackScene {
    std::vector<std::vector<Point3D>> centreLines;  // one polyline per drawn segment
    std::vector<Point3D> trackNodes;
    std::vector<Point3D> fundNodes;
    std::vector<Point3D> freeNodes;
    std::vector<TubeLine> tubes;
    std::vector<Point3D> bezierPoints;
};

TrackScene buildTrackScene(ZvTrack* track);
bool placeTrackNode(int segment, int index, ZvTrack* track, Point3D* out);
