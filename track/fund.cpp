#include "fund.h"

#include "collection.h"

namespace {
FundNodeRecord makeFundNode(int flagA, float valueA, int angleFlag, float angle,
                            int8_t fundByte, int fundValue, float x, float y, float z) {
    FundNodeRecord node;
    node.flagA = flagA;
    node.valueA = valueA;
    node.angleFlag = angleFlag;
    node.angle = angle;
    node.fundByte = fundByte;
    node.fundValue = fundValue;
    node.x = x;
    node.y = y;
    node.z = z;
    return node;
}
}  // namespace

int addFundNode(int flagA, float valueA, int angleFlag, float angle, int8_t fundByte,
                int fundValue, float x, float y, float z, ZvTrack* track) {
    FundNodeRecord node = makeFundNode(flagA, valueA, angleFlag, angle, fundByte, fundValue, x, y, z);
    return appendRecord(track->fundNodeArray, node, track->fundLength, kFundNodeRecordSize);
}

void modifyFundNode(int index, int flagA, float valueA, int angleFlag, float angle,
                    int8_t fundByte, int fundValue, float x, float y, float z, ZvTrack* track) {
    FundNodeRecord* node = findRecord(track->fundNodeArray, index);
    if (!node) return;
    *node = makeFundNode(flagA, valueA, angleFlag, angle, fundByte, fundValue, x, y, z);
}

void deleteFundNode(int index, ZvTrack* track) {
    eraseRecord(track->fundNodeArray, index, track->fundLength, kFundNodeRecordSize);
}

FundNodeRecord getFundNode(int index, ZvTrack* track) {
    return recordAt(track->fundNodeArray, index);
}

int getTotalFundNodes(ZvTrack* track) { return recordCount(track->fundNodeArray); }
