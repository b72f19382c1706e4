#include "tube.h"

#include "collection.h"

int addSupport(int kind1, int index1, int segment1, int kind2, int index2, int segment2,
               int tubeType, int tubeValue, int tubeSize, ZvTrack* track) {
    TubeRecord tube;
    tube.kind1 = kind1;
    tube.segment1 = segment1;
    tube.index1 = index1;
    tube.kind2 = kind2;
    tube.segment2 = segment2;
    tube.index2 = index2;
    tube.tubeType = tubeType;
    tube.tubeValue = tubeValue;
    tube.tubeSize = static_cast<float>(tubeSize);
    return appendRecord(track->tubeArray, tube, track->tubeLength, kTubeRecordSize);
}

void modifySupport(int index, int tubeType, int tubeValue, int tubeSize, ZvTrack* track) {
    TubeRecord* tube = findRecord(track->tubeArray, index);
    if (!tube) return;
    tube->tubeType = tubeType;
    tube->tubeValue = tubeValue;
    tube->tubeSize = static_cast<float>(tubeSize);
}

void deleteSupport(int index, ZvTrack* track) {
    eraseRecord(track->tubeArray, index, track->tubeLength, kTubeRecordSize);
}

TubeRecord getSupport(int index, ZvTrack* track) { return recordAt(track->tubeArray, index); }

int getTotalSupport(ZvTrack* track) { return recordCount(track->tubeArray); }
