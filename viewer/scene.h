// What the renderer draws for a document, computed without any GL call so it
// can be tested on its own and computed once for a document that no longer
// changes.
//
//   buildTrackScene  every element's drawing position:
//     - centre line: for each segment with a curve (segmentCurve; the closing
//       segment of a closed track runs to bezier 0) kCentreLinePieces + 1 points
//       at t = k / kCentreLinePieces; a segment without a curve has no line;
//     - track nodes of segments 0..count-1, placed as placeTrackNode says; nodes
//       of a segment without a curve, and nodes whose place is not a finite
//       point, are left out;
//     - foundation nodes, free nodes and bezier positions as stored, less
//       those that are not finite points;
//     - tubes whose two ends both exist and stand at finite points (kind 1
//       foundation node, kind 2 free node, kind 3 track node placed as below);
//       any other tube, including one with an end kind outside 1..3, is left
//       out.
//     Each segment that carries track nodes is walked twice, once for its
//     length and once for positions, however many nodes and tube ends it has.
//   placeTrackNode   the point at the node's fraction of its segment's arc
//                    length, as the arc-length search captures it; when the
//                    search captures nothing (a fraction of 0, for one) the
//                    curve's point at parameter t = fraction. A fraction
//                    above 1 gives the segment's end point, one below 0 its
//                    start. False when the node or its curve is missing or
//                    the point is not finite.
#pragma once

#include <set>
#include <vector>

#include "curve.h"
#include "zvtrack.h"

constexpr int kCentreLinePieces = 256;

struct TubeLine {
    Point3D a;     // end 1 (kind1, segment1, index1)
    Point3D b;     // end 2 (kind2, segment2, index2)
    int tube;      // index of the tube in the document
    int tubeType;  // the tube's type (TubeType), which sets its thickness
};

struct TrackScene {
    std::vector<std::vector<Point3D>> centreLines;  // one polyline per drawn segment
    std::vector<Point3D> trackNodes;
    std::vector<Point3D> fundNodes;
    std::vector<Point3D> freeNodes;
    std::vector<TubeLine> tubes;
    std::vector<Point3D> bezierPoints;
    // Tubes (document indices) the solid view marks as a warning; none unless
    // a check fills it in.
    std::set<int> warnedTubes;
};

TrackScene buildTrackScene(ZvTrack* track);
bool placeTrackNode(int segment, int index, ZvTrack* track, Point3D* out);

bool isFinitePoint(const Point3D& p);
