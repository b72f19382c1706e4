// Where the elements a tube can end at stand in space.
//
// A marker has two places, and both are kept: the supports built for it stand
// at its position as a curve parameter (where the generator builds, and the
// checks measure from), while the view draws it at that fraction of its
// segment's arc length, as its length walk captures it.
//
//   markersByParameter  per segment, the point of each marker on its curve
//                       at t = position; on a segment without a curve, the
//                       segment's first bezier (or nowhere without one).
//   markersByArc        per segment with a curve, each marker at its fraction
//                       of the arc length: a fraction above 1 at the curve's
//                       end, below 0 at its start, and one the walk does not
//                       capture (0, for one) at the curve's point at that t.
//                       Nowhere on a segment without a curve, and for lists
//                       beyond the segment count. Each segment
//                       with markers is walked twice, once for its length and
//                       once for positions, however many markers it has.
//   tubeEndPoint        where one end of a tube stands: a foundation or free
//                       node as stored, a marker where `markers` puts it;
//                       false when the end names nothing or stands nowhere
//                       finite.
#pragma once

#include <vector>

#include "zvtrack.h"

// One place per marker of each segment's list; a point that is not finite
// stands for nowhere.
using MarkerPlaces = std::vector<std::vector<Point3D>>;

MarkerPlaces markersByParameter(const ZvTrack& track);
MarkerPlaces markersByArc(const ZvTrack& track);

// What one end of a tube names (TubeRecord kind1/segment1/index1 or the 2s).
struct TubeEnd {
    int kind;     // TubeEndKind
    int segment;  // the marker's segment, for an end at a marker
    int index;
};
TubeEnd firstEnd(const TubeRecord& tube);
TubeEnd secondEnd(const TubeRecord& tube);

bool tubeEndPoint(const ZvTrack& track, const MarkerPlaces& markers, const TubeEnd& end,
                  Point3D* out);
