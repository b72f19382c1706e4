#include "bezr.h"

#include "collection.h"

namespace {
BezierRecord makeBezier(float px, float py, float pz, float inX, float inY, float inZ,
                        float outX, float outY, float outZ, float roll, int rollFlag,
                        int auxFlag1, int auxFlag2) {
    BezierRecord bezier;
    bezier.position = {px, py, pz};
    bezier.controlIn = {inX, inY, inZ};
    bezier.controlOut = {outX, outY, outZ};
    bezier.roll = roll;
    bezier.rollFlag = rollFlag;
    bezier.auxFlag1 = auxFlag1;
    bezier.auxFlag2 = auxFlag2;
    return bezier;
}
}  // namespace

int addBezier(float px, float py, float pz, float inX, float inY, float inZ, float outX,
              float outY, float outZ, float roll, int rollFlag, int auxFlag1, int auxFlag2,
              ZvTrack* track) {
    BezierRecord bezier = makeBezier(px, py, pz, inX, inY, inZ, outX, outY, outZ, roll,
                                     rollFlag, auxFlag1, auxFlag2);
    return appendRecord(track->bezierArray, bezier, track->bezrLength, kBezierRecordSize);
}

void modifyBezier(int index, float px, float py, float pz, float inX, float inY, float inZ,
                  float outX, float outY, float outZ, float roll, int rollFlag, int auxFlag1,
                  int auxFlag2, ZvTrack* track) {
    BezierRecord* bezier = findRecord(track->bezierArray, index);
    if (!bezier) return;
    *bezier = makeBezier(px, py, pz, inX, inY, inZ, outX, outY, outZ, roll, rollFlag,
                         auxFlag1, auxFlag2);
}

void deleteBezier(int index, ZvTrack* track) {
    eraseRecord(track->bezierArray, index, track->bezrLength, kBezierRecordSize);
}

BezierRecord getBezier(int index, ZvTrack* track) { return recordAt(track->bezierArray, index); }

int getNumBeziers(ZvTrack* track) { return recordCount(track->bezierArray); }
