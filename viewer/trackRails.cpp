#include "trackRails.h"

#include <cmath>

#include "calc.h"
#include "curve.h"
#include "segmentCalc.h"
#include "segm.h"

namespace {

constexpr Point3D kUp{0.0f, 1.0f, 0.0f};
// A track heading along +z has this side; it stands in for a vertical one.
constexpr Point3D kFallbackSide{-1.0f, 0.0f, 0.0f};
constexpr float kSmallestLength = 1e-6f;

Vectors vectors;

// The direction of `a`, or false when it has none worth the name.
bool direction(const Point3D& a, Point3D* unit) {
    const float l = vectors.GetLength(a);
    if (!(l > kSmallestLength) || !std::isfinite(l)) return false;
    *unit = vectors.MultScalar(a, 1.0f / l);
    return true;
}

// The curve's direction at t: its derivative, or the chord where that vanishes.
Point3D heading(const SegmentCurve& curve, float t) {
    const Point3D* p = curve.p;
    const float u = 1 - t;
    const Point3D first = vectors.MultScalar(vectors.Subtract(p[1], p[0]), 3 * u * u);
    const Point3D middle = vectors.MultScalar(vectors.Subtract(p[2], p[1]), 6 * u * t);
    const Point3D last = vectors.MultScalar(vectors.Subtract(p[3], p[2]), 3 * t * t);
    const Point3D derivative = vectors.Add(vectors.Add(first, middle), last);
    Point3D unit{0, 0, 1};
    if (!direction(derivative, &unit)) direction(vectors.Subtract(p[3], p[0]), &unit);
    return unit;
}

RailSample sampleAt(int segment, const SegmentCurve& curve, float t, ZvTrack* track) {
    const Point3D tangent = heading(curve, t);
    Point3D side = kFallbackSide;
    direction(vectors.CrossProduct(tangent, kUp), &side);
    Point3D normal = kUp;
    direction(vectors.CrossProduct(side, tangent), &normal);
    const double bank = TrackCalc().GetBanking(segment, t, track);
    const float c = static_cast<float>(std::cos(bank)), s = static_cast<float>(std::sin(bank));
    return RailSample{centreLinePoint(curve, t),
                      vectors.Add(vectors.MultScalar(side, c), vectors.MultScalar(normal, s)),
                      vectors.Subtract(vectors.MultScalar(normal, c), vectors.MultScalar(side, s))};
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
    case Rail::kLeft:
        return vectors.Subtract(sample.centre, vectors.MultScalar(sample.side, kRailHalfGauge));
    case Rail::kRight:
        return vectors.Add(sample.centre, vectors.MultScalar(sample.side, kRailHalfGauge));
    case Rail::kSpine: break;
    }
    return vectors.Subtract(sample.centre, vectors.MultScalar(sample.up, kSpineDrop));
}

float railRadius(Rail rail) { return rail == Rail::kSpine ? kSpineRadius : kRailRadius; }
