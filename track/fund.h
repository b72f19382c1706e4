// Foundation nodes (footings). Same rules as tubes; the length word moves by 92.
#pragma once
#include "zvtrack.h"

int addFundNode(int flagA, float valueA, int angleFlag, float angle, int8_t fundByte,
                int fundValue, float x, float y, float z, ZvTrack* track);
void modifyFundNode(int index, int flagA, float valueA, int angleFlag, float angle,
                    int8_t fundByte, int fundValue, float x, float y, float z, ZvTrack* track);
void deleteFundNode(int index, ZvTrack* track);
FundNodeRecord getFundNode(int index, ZvTrack* track);
int getTotalFundNodes(ZvTrack* track);
