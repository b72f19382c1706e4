// Track nodes: markers attached to a segment (s counts from 0). The length word
// rascLength moves by 24 per node. A segment without a list has no nodes: add
// to it changes nothing and returns -1. Get of a bad segment or node index
// returns a zero record and the count of a segment without a list is 0; modify
// and delete of a bad index change nothing.
#pragma once
#include "zvtrack.h"

int addTrackNode(int s, int nodeType, float segmentPos, ZvTrack* track);
void modifyTrackNode(int s, int index, int nodeType, float segmentPos, ZvTrack* track);
void deleteTrackNode(int s, int index, ZvTrack* track);
TrackNodeRecord getTrackNode(int s, int index, ZvTrack* track);
int getTotalTrackNodes(int s, ZvTrack* track);

// The node's point on segment s's cubic (cubicPoint of curve.h), its
// segmentPos used as the curve parameter (not clamped). A segment without a
// curve yields its first bezier's position, or (0, 0, 0) when that does not
// exist either. A node index out of range reads as the zero record
// (segmentPos 0): the segment's start point.
Point3D getPosSegmentNode(int index, int s, ZvTrack* track);
