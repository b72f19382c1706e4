#include "rasc.h"

#include "collection.h"

namespace {
// The node list of segment s, or nullptr when the segment has none.
TrackNodeList* nodeList(int s, ZvTrack* track) { return findRecord(track->trackNodeLists, s); }

// The bezier a segment starting at bezier s ends at: s + 1, or bezier 0 for the
// closing segment of a closed track; -1 when there is none.
int followingBezier(int s, const ZvTrack* track) {
    const int count = recordCount(track->bezierArray);
    if (s + 1 < count) return s + 1;
    if (track->closedTrack && s == count - 1) return 0;
    return -1;
}

// One coordinate of the cubic, weights and control values in curve order.
float blend(const float (&weights)[4], float p0, float p1, float p2, float p3) {
    return weights[0] * p0 + weights[1] * p1 + weights[2] * p2 + weights[3] * p3;
}
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
    const BezierRecord& first = track->bezierArray[static_cast<size_t>(s)];
    const int next = followingBezier(s, track);
    if (next < 0) return first.position;
    const BezierRecord& second = track->bezierArray[static_cast<size_t>(next)];

    // Single precision throughout, in the order the renderer evaluates it.
    const float t = getTrackNode(s, index, track).segmentPos;
    const float u = 1.0f - t;
    const float v = 1.0f - u;
    const float weights[4] = {u * u * u, u * 3.0f * u * v, u * 3.0f * v * v, v * v * v};
    const Point3D& p0 = first.position;
    const Point3D& p1 = first.controlOut;
    const Point3D& p2 = second.controlIn;
    const Point3D& p3 = second.position;
    return Point3D{blend(weights, p0.x, p1.x, p2.x, p3.x), blend(weights, p0.y, p1.y, p2.y, p3.y),
                   blend(weights, p0.z, p1.z, p2.z, p3.z)};
}
