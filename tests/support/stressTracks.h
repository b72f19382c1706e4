// Small track files that make a great deal of work: the shapes the clearance
// check and marker placement must handle in time that grows with the track.
//
//   hairpinTrack(length)   an open track: a straight `length` long at height
//                          20 along +x, a turn down through a half circle of
//                          radius 5 standing on end, and the straight back at
//                          height 10 right below the first. No markers.
//   verticalTrack(segments)  an open track of `segments` straight vertical
//                          segments at x = z = 0, going up and down by turns
//                          between heights 10 and 5,000 (each runs over all the
//                          others). No markers.
//   helixTrack(turns)      an open helix of radius 3 and pitch 2 around the y
//                          axis from height 10, four segments per turn, with
//                          eight column markers (type 2) on each segment:
//                          every column passes through the turns below it.
// Plain segments, default colours, coaster style 0.
#pragma once

#include "zvtrack.h"

ZvTrack hairpinTrack(float length);
ZvTrack verticalTrack(int segments);
ZvTrack helixTrack(int turns);
