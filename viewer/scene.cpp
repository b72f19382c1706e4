#include "scene.h"

#include <cmath>
#include <limits>

#include "geometry.h"
#include "track.h"

namespace {

constexpr float kCentreLineStep = 1.0f / kCentreLinePieces;

std::vector<Point3D> centreLine(const SegmentCurve& curve) {
    std::vector<Point3D> points;
    points.reserve(kCentreLinePieces + 1);
    for (int k = 0; k <= kCentreLinePieces; ++k) {
        points.push_back(centreLinePoint(curve, k * kCentreLineStep));
    }
    return points;
}

Point3D fundNodePoint(int index, ZvTrack* track) {
    FundNodeRecord node = getFundNode(index, track);
    return Point3D{node.x, node.y, node.z};
}

Point3D freeNodePoint(int index, ZvTrack* track) {
    FreeNodeRecord node = getFreeNode(index, track);
    return Point3D{node.x, node.y, node.z};
}

bool validIndex(int index, int count) { return index >= 0 && index < count; }

// Where a tube end stands; false when the element it names does not exist.
bool tubeEndPoint(int kind, int segment, int index, ZvTrack* track, Point3D* out) {
    switch (kind) {
    case kEndFundNode:
        if (!validIndex(index, getTotalFundNodes(track))) return false;
        *out = fundNodePoint(index, track);
        return true;
    case kEndFreeNode:
        if (!validIndex(index, getTotalFreeNodes(track))) return false;
        *out = freeNodePoint(index, track);
        return true;
    case kEndTrackNode:
        return placeTrackNode(segment, index, track, out);
    default:
        return false;
    }
}

void addCentreLines(ZvTrack* track, TrackScene* scene) {
    for (int i = 0; i < getTotalSegments(track); ++i) {
        SegmentCurve curve;
        if (segmentCurve(i, track, &curve)) scene->centreLines.push_back(centreLine(curve));
    }
}

void addTrackNodes(ZvTrack* track, TrackScene* scene) {
    for (int i = 0; i < getTotalSegments(track); ++i) {
        for (int n = 0; n < getTotalTrackNodes(i, track); ++n) {
            Point3D p;
            if (placeTrackNode(i, n, track, &p)) scene->trackNodes.push_back(p);
        }
    }
}

void addNodes(ZvTrack* track, TrackScene* scene) {
    for (int i = 0; i < getTotalFundNodes(track); ++i) {
        scene->fundNodes.push_back(fundNodePoint(i, track));
    }
    for (int i = 0; i < getTotalFreeNodes(track); ++i) {
        scene->freeNodes.push_back(freeNodePoint(i, track));
    }
    for (int i = 0; i < getNumBeziers(track); ++i) {
        scene->bezierPoints.push_back(getBezier(i, track).position);
    }
}

void addTubes(ZvTrack* track, TrackScene* scene) {
    for (int i = 0; i < getTotalSupport(track); ++i) {
        TubeRecord tube = getSupport(i, track);
        TubeLine line;
        if (tubeEndPoint(tube.kind1, tube.segment1, tube.index1, track, &line.a) &&
            tubeEndPoint(tube.kind2, tube.segment2, tube.index2, track, &line.b)) {
            scene->tubes.push_back(line);
        }
    }
}

}  // namespace

bool placeTrackNode(int segment, int index, ZvTrack* track, Point3D* out) {
    SegmentCurve curve;
    if (segment < 0 || !validIndex(index, getTotalTrackNodes(segment, track)) ||
        !segmentCurve(segment, track, &curve)) {
        return false;
    }
    float fraction = getTrackNode(segment, index, track).segmentPos;
    BezierCalc bezierCalc;
    float length = bezierCalc.GetBezierLength(segment, 0.0f, track);
    // The search leaves its output alone when it captures nothing; a NaN
    // marker tells that apart from any point it could write.
    const float notCaptured = std::numeric_limits<float>::quiet_NaN();
    Point3D found{notCaptured, notCaptured, notCaptured};
    bezierCalc.GetBezierPos(segment, length * fraction, &found, 0.0f, track);
    *out = std::isnan(found.x) ? centreLinePoint(curve, fraction) : found;
    return true;
}

TrackScene buildTrackScene(ZvTrack* track) {
    TrackScene scene;
    if (!track) return scene;
    addCentreLines(track, &scene);
    addTrackNodes(track, &scene);
    addNodes(track, &scene);
    addTubes(track, &scene);
    return scene;
}
