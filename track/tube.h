// Support tubes. add returns the new index and raises tubeLength by 48; delete
// of an index outside the collection changes nothing, else lowers it by 48.
// Get of a bad index returns a zero record; modify of one changes nothing.
// Tube ends are not renumbered when nodes are deleted.
#pragma once
#include "zvtrack.h"

// Note the argument order: each end's index before its segment.
int addSupport(int kind1, int index1, int segment1, int kind2, int index2, int segment2,
               int tubeType, int tubeValue, int tubeSize, ZvTrack* track);
void modifySupport(int index, int tubeType, int tubeValue, int tubeSize, ZvTrack* track);
void deleteSupport(int index, ZvTrack* track);
TubeRecord getSupport(int index, ZvTrack* track);
int getTotalSupport(ZvTrack* track);
