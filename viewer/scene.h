// What the renderer draws for a document, computed without any GL call so it
// can be tested on its own and computed once for a document that no longer
// changes.
//
//   buildTrackScene  every element's drawing position:
//     - centre line: for each segment with a curve (segmentCurve; the closing
//       segment of a closed track runs to bezier 0) kCentreLinePieces + 1 points
//       at t = k / kCentreLinePieces; a segment without a curve has no line;
//     - markers where the view draws them: at their fraction of the arc
//       length (markersByArc); markers of a segment without a curve, and
//       markers whose place is not a finite point, are left out;
//     - foundation nodes, free nodes and bezier positions as stored, less
//       those that are not finite points;
//     - tubes whose two ends both exist and stand at finite points (kind 1
//       foundation node, kind 2 free node, kind 3 marker placed as above);
//       any other tube, including one with an end kind outside 1..3, is left
//       out.
#pragma once

#include <vector>

#include "tube.h"
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
    // Tubes the solid view marks as a warning; none unless a check fills it in.
    TubeList warnedTubes;

    bool warned(int tube) const;
};

TrackScene buildTrackScene(const ZvTrack* track);
