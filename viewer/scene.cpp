#include "scene.h"

#include <algorithm>

#include "centreLine.h"
#include "trackPoints.h"

namespace {

void addCentreLines(const ZvTrack& track, TrackScene* scene) {
    for (size_t i = 0; i < track.segmentArray.size(); ++i) {
        SegmentCurve curve;
        if (segmentCurve(static_cast<int>(i), &track, &curve)) {
            scene->centreLines.push_back(samplePoints(curve, kCentreLinePieces, CurveForm::kDrawn));
        }
    }
}

void addFinite(const Point3D& p, std::vector<Point3D>* points) {
    if (isFinite(p)) points->push_back(p);
}

void addTrackNodes(const MarkerPlaces& markers, TrackScene* scene) {
    for (const std::vector<Point3D>& places : markers) {
        for (const Point3D& place : places) addFinite(place, &scene->trackNodes);
    }
}

void addNodes(const ZvTrack& track, TrackScene* scene) {
    for (const FundNodeRecord& node : track.fundNodeArray) addFinite({node.x, node.y, node.z}, &scene->fundNodes);
    for (const FreeNodeRecord& node : track.freeNodeArray) addFinite({node.x, node.y, node.z}, &scene->freeNodes);
    for (const BezierRecord& bezier : track.bezierArray) addFinite(bezier.position, &scene->bezierPoints);
}

void addTubes(const ZvTrack& track, const MarkerPlaces& markers, TrackScene* scene) {
    for (size_t i = 0; i < track.tubeArray.size(); ++i) {
        const TubeRecord& tube = track.tubeArray[i];
        TubeLine line{};
        line.tube = static_cast<int>(i);
        line.tubeType = tube.tubeType;
        if (tubeEndPoint(track, markers, firstEnd(tube), &line.a) &&
            tubeEndPoint(track, markers, secondEnd(tube), &line.b)) {
            scene->tubes.push_back(line);
        }
    }
}

}  // namespace

bool TrackScene::warned(int tube) const {
    return std::binary_search(warnedTubes.begin(), warnedTubes.end(), tube);
}

TrackScene buildTrackScene(const ZvTrack* track) {
    TrackScene scene;
    if (!track) return scene;
    const MarkerPlaces markers = markersByArc(*track);
    addCentreLines(*track, &scene);
    addTrackNodes(markers, &scene);
    addNodes(*track, &scene);
    addTubes(*track, markers, &scene);
    return scene;
}
