#include "trackRails.h"

#include <cmath>

#include "curve.h"
#include "geometry.h"
#include "segm.h"

namespace {

constexpr Point3D kUp{0.0f, 1.0f, 0.0f};
// A track heading along +z has this side; it stands in for a vertical one.
constexpr Point3D kFallbackSide{-1.0f, 0.0f, 0.0f};
constexpr float kSmallestLength = 1e-6f;

Point3D add(const Point3D& a, const Point3D& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Point3D sub(const Point3D& a, const Point3D& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3D scale(const Point3D& a, float s) { return {a.x * s, a.y * s, a.z * s}; }

Point3D cross(const Point3D& a, const Point3D& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float length(const Point3D& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

// The direction of `a`, or false when it has none worth the name.
bool direction(const Point3D& a, Point3D* unit) {
    const float l = length(a);
    if (!(l > kSmallestLength) || !std::isfinite(l)) return false;
    *unit = scale(a, 1.0f / l);
    return true;
}

// The curve's direction at t: its derivative, or the chord where that vanishes.
Point3D heading(const SegmentCurve& curve, float t) {
    const Point3D* p = curve.p;
    const float u = 1 - t;
    const Point3D derivative = add(add(scale(sub(p[1], p[0]), 3 * u * u), scale(sub(p[2], p[1]), 6 * u * t)),
                                   scale(sub(p[3], p[2]), 3 * t * t));
    Point3D unit{0, 0, 1};
    if (!direction(derivative, &unit)) direction(sub(p[3], p[0]), &unit);
    return unit;
}

RailSample sampleAt(int segment, const SegmentCurve& curve, float t, ZvTrack* track) {
    const Point3D tangent = heading(curve, t);
    Point3D side = kFallbackSide;
    direction(cross(tangent, kUp), &side);
    Point3D normal = kUp;
    direction(cross(side, tangent), &normal);
    const double bank = TrackCalc().GetBanking(segment, t, track);
    const float c = static_cast<float>(std::cos(bank)), s = static_cast<float>(std::sin(bank));
    return RailSample{centreLinePoint(curve, t), add(scale(side, c), scale(normal, s)),
                      sub(scale(normal, c), scale(side, s))};
}

}  // namespace

std::vector<std::vector<RailSample>> railSamples(ZvTrack* track) {
    std::vector<std::vector<RailSample>> segments;
    for (int i = 0; i < getTotalSegments(track); ++i) {
        SegmentCurve curve;
        if (!segmentCurve(i, track, &curve)) continue;
        std::vector<RailSample> samples;
        samples.reserve(kRailPieces + 1);
        for (int k = 0; k <= kRailPieces; ++k) {
            samples.push_back(sampleAt(i, curve, static_cast<float>(k) / kRailPieces, track));
        }
        segments.push_back(std::move(samples));
    }
    return segments;
}

Point3D railPoint(const RailSample& sample, Rail rail) {
    switch (rail) {
    case Rail::kLeft: return sub(sample.centre, scale(sample.side, kRailHalfGauge));
    case Rail::kRight: return add(sample.centre, scale(sample.side, kRailHalfGauge));
    case Rail::kSpine: break;
    }
    return sub(sample.centre, scale(sample.up, kSpineDrop));
}

float railRadius(Rail rail) { return rail == Rail::kSpine ? kSpineRadius : kRailRadius; }
