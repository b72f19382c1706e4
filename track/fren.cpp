#include "fren.h"

#include "collection.h"

int addFreeNode(float x, float y, float z, ZvTrack* track) {
    FreeNodeRecord node;
    node.x = x;
    node.y = y;
    node.z = z;
    return appendRecord(track->freeNodeArray, node, track->frenLength, kFreeNodeRecordSize);
}

void modifyFreeNode(int index, float x, float y, float z, ZvTrack* track) {
    FreeNodeRecord* node = findRecord(track->freeNodeArray, index);
    if (!node) return;
    node->x = x;
    node->y = y;
    node->z = z;
}

void deleteFreeNode(int index, ZvTrack* track) {
    eraseRecord(track->freeNodeArray, index, track->frenLength, kFreeNodeRecordSize);
}

FreeNodeRecord getFreeNode(int index, ZvTrack* track) {
    return recordAt(track->freeNodeArray, index);
}

int getTotalFreeNodes(ZvTrack* track) { return recordCount(track->freeNodeArray); }
