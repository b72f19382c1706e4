// Free nodes (points in space). Same rules as tubes; the length word moves by 28.
#pragma once
#include "zvtrack.h"

int addFreeNode(float x, float y, float z, ZvTrack* track);  // freeValue 0
void modifyFreeNode(int index, float x, float y, float z, ZvTrack* track);
void deleteFreeNode(int index, ZvTrack* track);
FreeNodeRecord getFreeNode(int index, ZvTrack* track);
int getTotalFreeNodes(ZvTrack* track);
