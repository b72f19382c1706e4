#include "rasc.h"

#include "collection.h"
#include "curve.h"

namespace {
// The node list of segment s, or nullptr when the segment has none.
TrackNodeList* nodeList(int s, ZvTrack* track) { return findRecord(track->trackNodeLists, s); }
}  // namespace

int addTrackNode(int s, int nodeType, float segmentPos, ZvTrack* track) {
    TrackNodeList* list = nodeList(s, track);
    if (!list) return -1;
    TrackNodeRecord node;
    node.nodeType = nodeType;
    node.segmentPos = segmentPos;
    return appendRecord(list->nodes, node, track->rascLength, kTrackNodeRecordSize);
}

void modifyTrackNode(int s, int index, int nodeType, float segmentPos, ZvTrack* track) {
    TrackNodeList* list = nodeList(s, track);
    TrackNodeRecord* node = list ? findRecord(list->nodes, index) : nullptr;
    if (!node) return;
    node->nodeType = nodeType;
    node->segmentPos = segmentPos;
}

void deleteTrackNode(int s, int index, ZvTrack* track) {
    TrackNodeList* list = nodeList(s, track);
    if (!list) return;
    eraseRecord(list->nodes, index, track->rascLength, kTrackNodeRecordSize);
}

TrackNodeRecord getTrackNode(int s, int index, ZvTrack* track) {
    TrackNodeList* list = nodeList(s, track);
    return list ? recordAt(list->nodes, index) : TrackNodeRecord{};
}

int getTotalTrackNodes(int s, ZvTrack* track) {
    TrackNodeList* list = nodeList(s, track);
    return list ? recordCount(list->nodes) : 0;
}

Point3D getPosSegmentNode(int index, int s, ZvTrack* track) {
    if (!inRange(track->bezierArray, s)) return Point3D{};
    SegmentCurve curve;
    if (!segmentCurve(s, track, &curve)) return track->bezierArray[static_cast<size_t>(s)].position;
    return cubicPoint(curve, getTrackNode(s, index, track).segmentPos);
}
