#include "tube.h"

#include <algorithm>
#include <iterator>

#include "collection.h"

namespace {
void setKind(TubeRecord& tube, int tubeType, int tubeValue, int tubeSize) {
    tube.tubeType = tubeType;
    tube.tubeValue = tubeValue;
    tube.tubeSize = static_cast<float>(tubeSize);
}
}  // namespace

int addSupport(int kind1, int index1, int segment1, int kind2, int index2, int segment2,
               int tubeType, int tubeValue, int tubeSize, ZvTrack* track) {
    auto fill = [=](TubeRecord& tube) {
        tube.kind1 = kind1;
        tube.segment1 = segment1;
        tube.index1 = index1;
        tube.kind2 = kind2;
        tube.segment2 = segment2;
        tube.index2 = index2;
        setKind(tube, tubeType, tubeValue, tubeSize);
    };
    return appendFilledRecord(track->tubeArray, track->tubeLength, kTubeRecordSize, fill);
}

void modifySupport(int index, int tubeType, int tubeValue, int tubeSize, ZvTrack* track) {
    TubeRecord* tube = findRecord(track->tubeArray, index);
    if (tube) setKind(*tube, tubeType, tubeValue, tubeSize);
}

void deleteSupport(int index, ZvTrack* track) {
    eraseRecord(track->tubeArray, index, track->tubeLength, kTubeRecordSize);
}

TubeRecord getSupport(int index, ZvTrack* track) { return recordAt(track->tubeArray, index); }

int getTotalSupport(ZvTrack* track) { return recordCount(track->tubeArray); }

TubeType tubeTypeStep(int type, int step) {
    const auto found = std::find(std::begin(kTubeLadder), std::end(kTubeLadder), type);
    if (found == std::end(kTubeLadder)) return kTubeLightest;
    const long rung = std::distance(std::begin(kTubeLadder), found) + static_cast<long>(step);
    if (rung < 0 || rung >= static_cast<long>(std::size(kTubeLadder))) return kTubeLightest;
    return kTubeLadder[rung];
}
