// Support tubes. add returns the new index and raises tubeLength by 48; delete
// of an index outside the collection changes nothing, else lowers it by 48.
// Get of a bad index returns a zero record; modify of one changes nothing.
// Tube ends are not renumbered when nodes are deleted.
#pragma once
#include <vector>

#include "zvtrack.h"

// Support tubes named by their index in the document's tube array, ascending:
// how a check hands the tubes it found to the view.
using TubeList = std::vector<int>;

// The tube types in ladder order, thinnest first.
constexpr TubeType kTubeLadder[] = {kTubeLightest, kTubeLight, kTubeMedium, kTubeHeavy,
                                    kTubeHeaviest};
// The type `step` rungs up the ladder from `type` (down when negative); the
// lightest type for a step off either end, or from a type not on the ladder.
TubeType tubeTypeStep(int type, int step);

// Note the argument order: each end's index before its segment.
int addSupport(int kind1, int index1, int segment1, int kind2, int index2, int segment2,
               int tubeType, int tubeValue, int tubeSize, ZvTrack* track);
void modifySupport(int index, int tubeType, int tubeValue, int tubeSize, ZvTrack* track);
void deleteSupport(int index, ZvTrack* track);
TubeRecord getSupport(int index, ZvTrack* track);
int getTotalSupport(ZvTrack* track);
