#include "scene.h"

#include <algorithm>
#include <cmath>

#include "geometry.h"
#include "track.h"

namespace {

constexpr float kCentreLineStep = 1.0f / kCentreLinePieces;

// Where the track nodes of each segment stand; `placed` is false for a node
// whose place is not a finite point.
struct PlacedNode {
    Point3D point;
    bool placed;
};
using SegmentPlaces = std::vector<std::vector<PlacedNode>>;

std::vector<Point3D> centreLine(const SegmentCurve& curve) {
    std::vector<Point3D> points;
    points.reserve(kCentreLinePieces + 1);
    for (int k = 0; k <= kCentreLinePieces; ++k) {
        points.push_back(centreLinePoint(curve, static_cast<float>(k) * kCentreLineStep));
    }
    return points;
}

bool validIndex(int index, int count) { return index >= 0 && index < count; }

// Every node of one segment from one length walk and one position walk. A
// fraction outside 0..1 stands at the nearer end; one the search does not
// capture at the curve's point at t = fraction.
std::vector<PlacedNode> placeSegmentNodes(int segment, const SegmentCurve& curve, ZvTrack* track) {
    const int count = getTotalTrackNodes(segment, track);
    std::vector<PlacedNode> places;
    if (count <= 0) return places;
    SegmentCurve walked = curve;
    const float length = BezierCalc().GetBezierLength(walked.p, 0.0f, kLengthTolerance);
    const std::vector<ArcPiece> pieces = arcPieces(curve, kPositionTolerance);
    places.reserve(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n) {
        const float fraction = getTrackNode(segment, n, track).segmentPos;
        Point3D p;
        if (fraction > 1) {
            p = curve.p[3];
        } else if (fraction < 0) {
            p = curve.p[0];
        } else {
            const long captured = capturedPiece(pieces, length * fraction);
            p = captured < 0 ? centreLinePoint(curve, fraction)
                             : pieces[static_cast<size_t>(captured)].end;
        }
        places.push_back({p, isFinitePoint(p)});
    }
    return places;
}

SegmentPlaces placeAllTrackNodes(ZvTrack* track) {
    SegmentPlaces places(static_cast<size_t>(std::max(getTotalSegments(track), 0)));
    for (size_t i = 0; i < places.size(); ++i) {
        SegmentCurve curve;
        const int segment = static_cast<int>(i);
        if (segmentCurve(segment, track, &curve)) {
            places[i] = placeSegmentNodes(segment, curve, track);
        }
    }
    return places;
}

bool placedNode(const SegmentPlaces& places, int segment, int index, Point3D* out) {
    if (!validIndex(segment, static_cast<int>(places.size()))) return false;
    const std::vector<PlacedNode>& nodes = places[static_cast<size_t>(segment)];
    if (!validIndex(index, static_cast<int>(nodes.size()))) return false;
    const PlacedNode& node = nodes[static_cast<size_t>(index)];
    if (!node.placed) return false;
    *out = node.point;
    return true;
}

Point3D fundNodePoint(int index, ZvTrack* track) {
    FundNodeRecord node = getFundNode(index, track);
    return Point3D{node.x, node.y, node.z};
}

Point3D freeNodePoint(int index, ZvTrack* track) {
    FreeNodeRecord node = getFreeNode(index, track);
    return Point3D{node.x, node.y, node.z};
}

// What one end of a tube names.
struct TubeEnd {
    int kind;     // TubeEndKind
    int segment;  // the track node's segment, for kind 3
    int index;
};

// Where a tube end stands; false when the element it names does not exist
// or does not stand at a finite point.
bool tubeEndPoint(const TubeEnd& end, const SegmentPlaces& places, ZvTrack* track, Point3D* out) {
    switch (end.kind) {
    case kEndFundNode:
        if (!validIndex(end.index, getTotalFundNodes(track))) return false;
        *out = fundNodePoint(end.index, track);
        return isFinitePoint(*out);
    case kEndFreeNode:
        if (!validIndex(end.index, getTotalFreeNodes(track))) return false;
        *out = freeNodePoint(end.index, track);
        return isFinitePoint(*out);
    case kEndTrackNode: return placedNode(places, end.segment, end.index, out);
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

void addTrackNodes(const SegmentPlaces& places, TrackScene* scene) {
    for (const std::vector<PlacedNode>& nodes : places) {
        for (const PlacedNode& node : nodes) {
            if (node.placed) scene->trackNodes.push_back(node.point);
        }
    }
}

void addFinite(const Point3D& p, std::vector<Point3D>* points) {
    if (isFinitePoint(p)) points->push_back(p);
}

void addNodes(ZvTrack* track, TrackScene* scene) {
    for (int i = 0; i < getTotalFundNodes(track); ++i) {
        addFinite(fundNodePoint(i, track), &scene->fundNodes);
    }
    for (int i = 0; i < getTotalFreeNodes(track); ++i) {
        addFinite(freeNodePoint(i, track), &scene->freeNodes);
    }
    for (int i = 0; i < getNumBeziers(track); ++i) {
        addFinite(getBezier(i, track).position, &scene->bezierPoints);
    }
}

void addTubes(const SegmentPlaces& places, ZvTrack* track, TrackScene* scene) {
    for (int i = 0; i < getTotalSupport(track); ++i) {
        TubeRecord tube = getSupport(i, track);
        TubeLine line{};
        line.tube = i;
        line.tubeType = tube.tubeType;
        if (tubeEndPoint({tube.kind1, tube.segment1, tube.index1}, places, track, &line.a) &&
            tubeEndPoint({tube.kind2, tube.segment2, tube.index2}, places, track, &line.b)) {
            scene->tubes.push_back(line);
        }
    }
}

}  // namespace

bool isFinitePoint(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool placeTrackNode(int segment, int index, ZvTrack* track, Point3D* out) {
    SegmentCurve curve;
    if (segment < 0 || !validIndex(index, getTotalTrackNodes(segment, track)) ||
        !segmentCurve(segment, track, &curve)) {
        return false;
    }
    const std::vector<PlacedNode> places = placeSegmentNodes(segment, curve, track);
    if (!places[static_cast<size_t>(index)].placed) return false;
    *out = places[static_cast<size_t>(index)].point;
    return true;
}

TrackScene buildTrackScene(ZvTrack* track) {
    TrackScene scene;
    if (!track) return scene;
    const SegmentPlaces places = placeAllTrackNodes(track);
    addCentreLines(track, &scene);
    addTrackNodes(places, &scene);
    addNodes(track, &scene);
    addTubes(places, track, &scene);
    return scene;
}
