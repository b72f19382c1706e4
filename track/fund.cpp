#include "fund.h"

#include "collection.h"

namespace {
void setFields(FundNodeRecord& node, int flagA, float valueA, int angleFlag, float angle,
               int8_t fundByte, int fundValue, float x, float y, float z) {
    node.flagA = flagA;
    node.valueA = valueA;
    node.angleFlag = angleFlag;
    node.angle = angle;
    node.fundByte = fundByte;
    node.fundValue = fundValue;
    node.x = x;
    node.y = y;
    node.z = z;
}
}  // namespace

int addFundNode(int flagA, float valueA, int angleFlag, float angle, int8_t fundByte,
                int fundValue, float x, float y, float z, ZvTrack* track) {
    return appendFilledRecord(
        track->fundNodeArray, track->fundLength, kFundNodeRecordSize, [=](FundNodeRecord& node) {
            setFields(node, flagA, valueA, angleFlag, angle, fundByte, fundValue, x, y, z);
        });
}

void modifyFundNode(int index, int flagA, float valueA, int angleFlag, float angle,
                    int8_t fundByte, int fundValue, float x, float y, float z, ZvTrack* track) {
    FundNodeRecord* node = findRecord(track->fundNodeArray, index);
    if (node) setFields(*node, flagA, valueA, angleFlag, angle, fundByte, fundValue, x, y, z);
}

void deleteFundNode(int index, ZvTrack* track) {
    eraseRecord(track->fundNodeArray, index, track->fundLength, kFundNodeRecordSize);
}

FundNodeRecord getFundNode(int index, ZvTrack* track) {
    return recordAt(track->fundNodeArray, index);
}

int getTotalFundNodes(ZvTrack* track) { return recordCount(track->fundNodeArray); }
