#include "fren.h"

#include "collection.h"

namespace {
void place(FreeNodeRecord& node, float x, float y, float z) {
    node.x = x;
    node.y = y;
    node.z = z;
}
}  // namespace

int addFreeNode(float x, float y, float z, ZvTrack* track) {
    return appendFilledRecord(track->freeNodeArray, track->frenLength, kFreeNodeRecordSize,
                              [=](FreeNodeRecord& node) { place(node, x, y, z); });
}

void modifyFreeNode(int index, float x, float y, float z, ZvTrack* track) {
    FreeNodeRecord* node = findRecord(track->freeNodeArray, index);
    if (node) place(*node, x, y, z);
}

void deleteFreeNode(int index, ZvTrack* track) {
    eraseRecord(track->freeNodeArray, index, track->frenLength, kFreeNodeRecordSize);
}

FreeNodeRecord getFreeNode(int index, ZvTrack* track) {
    return recordAt(track->freeNodeArray, index);
}

int getTotalFreeNodes(ZvTrack* track) { return recordCount(track->freeNodeArray); }
