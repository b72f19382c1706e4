// The example track of `zvtrack demo`, built with the track library's own
// operations: a closed circuit of ten segments, about 80 by 60 and up to 32
// high, with a station, a lift hill, a turning crest, a drop, two banked
// turns, a hill and a brake run. Markers of node types 2 (column), 6
// (crossbeam), 7 (braced leg) and 3 (connector strut only) stand every few
// metres, low and high, and the segment colours mirror the braced legs on the
// lift, switch the extra diagonal off on the hill and set tie height 5 and
// brace angle 20 on the crest.
#pragma once

#include "zvtrack.h"

// The comment text the demo track carries.
extern const char* const kDemoTrackComments;

// Fills a zero-filled or new document with the demo track.
void buildDemoTrack(ZvTrack* track);
