#include "trackPoints.h"

#include <limits>

#include "curve.h"
#include "segmentCalc.h"

namespace {

constexpr float kNoCoordinate = std::numeric_limits<float>::quiet_NaN();
constexpr Point3D kNowhere{kNoCoordinate, kNoCoordinate, kNoCoordinate};

template <class Record>
const Record* recordAt(const std::vector<Record>& records, int index) {
    if (index < 0 || static_cast<size_t>(index) >= records.size()) return nullptr;
    return &records[static_cast<size_t>(index)];
}

std::vector<Point3D> byParameter(const ZvTrack& track, int segment) {
    const std::vector<TrackNodeRecord>& markers = track.trackNodeLists[static_cast<size_t>(segment)].nodes;
    SegmentCurve curve;
    const bool hasCurve = segmentCurve(segment, &track, &curve);
    const BezierRecord* first = recordAt(track.bezierArray, segment);
    std::vector<Point3D> places;
    places.reserve(markers.size());
    for (const TrackNodeRecord& marker : markers) {
        if (hasCurve) {
            places.push_back(cubicPoint(curve, marker.segmentPos));
        } else {
            places.push_back(first ? first->position : kNowhere);
        }
    }
    return places;
}

Point3D atArcFraction(const SegmentCurve& curve, const std::vector<ArcPiece>& pieces, float length,
                      float fraction) {
    if (fraction > 1) return curve.p[3];
    if (fraction < 0) return curve.p[0];
    const long captured = capturedPiece(pieces, length * fraction);
    return captured < 0 ? centreLinePoint(curve, fraction) : pieces[static_cast<size_t>(captured)].end;
}

std::vector<Point3D> byArc(const ZvTrack& track, int segment) {
    const std::vector<TrackNodeRecord>& markers = track.trackNodeLists[static_cast<size_t>(segment)].nodes;
    SegmentCurve curve;
    const bool listed = static_cast<size_t>(segment) < track.segmentArray.size();
    if (markers.empty() || !listed || !segmentCurve(segment, &track, &curve)) {
        return std::vector<Point3D>(markers.size(), kNowhere);
    }
    SegmentCurve walked = curve;
    const float length = BezierCalc().GetBezierLength(walked.p, 0.0f, kLengthTolerance);
    const std::vector<ArcPiece> pieces = arcPieces(curve, kPositionTolerance);
    std::vector<Point3D> places;
    places.reserve(markers.size());
    for (const TrackNodeRecord& marker : markers) {
        places.push_back(atArcFraction(curve, pieces, length, marker.segmentPos));
    }
    return places;
}

template <class Place>
MarkerPlaces placeEach(const ZvTrack& track, Place place) {
    MarkerPlaces places(track.trackNodeLists.size());
    for (size_t s = 0; s < places.size(); ++s) places[s] = place(track, static_cast<int>(s));
    return places;
}

}  // namespace

MarkerPlaces markersByParameter(const ZvTrack& track) { return placeEach(track, byParameter); }
MarkerPlaces markersByArc(const ZvTrack& track) { return placeEach(track, byArc); }

TubeEnd firstEnd(const TubeRecord& tube) { return {tube.kind1, tube.segment1, tube.index1}; }
TubeEnd secondEnd(const TubeRecord& tube) { return {tube.kind2, tube.segment2, tube.index2}; }

bool tubeEndPoint(const ZvTrack& track, const MarkerPlaces& markers, const TubeEnd& end,
                  Point3D* out) {
    if (end.kind == kEndFundNode) {
        const FundNodeRecord* node = recordAt(track.fundNodeArray, end.index);
        if (node) *out = {node->x, node->y, node->z};
        return node && isFinite(*out);
    }
    if (end.kind == kEndFreeNode) {
        const FreeNodeRecord* node = recordAt(track.freeNodeArray, end.index);
        if (node) *out = {node->x, node->y, node->z};
        return node && isFinite(*out);
    }
    if (end.kind != kEndTrackNode) return false;
    const std::vector<Point3D>* list = recordAt(markers, end.segment);
    const Point3D* place = list ? recordAt(*list, end.index) : nullptr;
    if (place) *out = *place;
    return place && isFinite(*out);
}
