// Beziers, the nodes of the track spline. Same rules as tubes; the length word
// bezrLength moves by 60.
#pragma once
#include "zvtrack.h"

int addBezier(float px, float py, float pz, float inX, float inY, float inZ, float outX,
              float outY, float outZ, float roll, int rollFlag, int auxFlag1, int auxFlag2,
              ZvTrack* track);
void modifyBezier(int index, float px, float py, float pz, float inX, float inY, float inZ,
                  float outX, float outY, float outZ, float roll, int rollFlag, int auxFlag1,
                  int auxFlag2, ZvTrack* track);
void deleteBezier(int index, ZvTrack* track);
BezierRecord getBezier(int index, ZvTrack* track);
int getNumBeziers(ZvTrack* track);
