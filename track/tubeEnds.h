// Tube ends that name nothing: a tube of a file may name a foundation node, a
// free node, a track-node list or a track node that the track does not have,
// or an end kind that does not exist.
//
//   danglingTubeEnds  one line per such tube, naming it first and then each
//                     bad end, for example "tubeArray[4]: end 2 names free
//                     node 12, but the track has 10 free nodes" (two bad ends
//                     are joined by "; "). Empty when every end names a node.
#pragma once

#include <string>
#include <vector>

#include "zvtrack.h"

std::vector<std::string> danglingTubeEnds(const ZvTrack& track);
