#include "curve.h"

namespace {

// One coordinate of the cubic: weights and control values in curve order.
float blend(const float (&w)[4], float p0, float p1, float p2, float p3) {
    return p0 * w[0] + p1 * w[1] + p2 * w[2] + p3 * w[3];
}

Point3D weighted(const SegmentCurve& curve, const float (&w)[4]) {
    const Point3D* p = curve.p;
    return {blend(w, p[0].x, p[1].x, p[2].x, p[3].x), blend(w, p[0].y, p[1].y, p[2].y, p[3].y),
            blend(w, p[0].z, p[1].z, p[2].z, p[3].z)};
}

}  // namespace

int followingBezier(int segment, const ZvTrack* track) {
    const int count = static_cast<int>(track->bezierArray.size());
    if (segment < 0) return -1;
    if (segment + 1 < count) return segment + 1;
    if (track->closedTrack && segment == count - 1) return 0;
    return -1;
}

bool segmentCurve(int segment, const ZvTrack* track, SegmentCurve* curve) {
    const int next = followingBezier(segment, track);
    if (next < 0) return false;
    const BezierRecord& first = track->bezierArray[static_cast<size_t>(segment)];
    const BezierRecord& last = track->bezierArray[static_cast<size_t>(next)];
    curve->p[0] = first.position;
    curve->p[1] = first.controlOut;
    curve->p[2] = last.controlIn;
    curve->p[3] = last.position;
    return true;
}

Point3D cubicPoint(const SegmentCurve& curve, float t) {
    const float u = 1 - t;
    const float v = 1 - u;
    const float w[4] = {u * u * u, u * 3 * u * v, u * 3 * v * v, v * v * v};
    return weighted(curve, w);
}

Point3D centreLinePoint(const SegmentCurve& curve, float t) {
    const float u = 1.0f - t;
    const float w[4] = {u * u * u, t * 3.0f * u * u, t * 3.0f * t * u, t * t * t};
    return weighted(curve, w);
}
