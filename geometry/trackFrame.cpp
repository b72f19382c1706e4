#include "trackFrame.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "angles.h"
#include "calc.h"
#include "segmentCalc.h"

namespace {

// The neighbour of a point that gives the track's direction.
constexpr double kTangentStep = 0.01;
constexpr Point3D kUp{0.0f, 1.0f, 0.0f};
// The side of a track that heads along +z: the one a vertical tangent takes.
constexpr Point3D kFallbackSide{-1.0f, 0.0f, 0.0f};

}  // namespace

float roundingNoise(const Point3D& p) {
    constexpr float kNoiseSteps = 4.0f;
    const float size = std::max({1.0f, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    return kNoiseSteps * std::numeric_limits<float>::epsilon() * size;
}

TrackFrame trackFrameAt(int segment, float t, ZvTrack* track) {
    BezierCalc bezierCalc;
    Vectors vectors;
    TrackFrame frame;
    frame.point = bezierCalc.GetPosSegmentNode(t, segment, track);
    const Point3D ahead =
        bezierCalc.GetPosSegmentNode(static_cast<float>(t + kTangentStep), segment, track);
    frame.bank = TrackCalc().GetBanking(segment, t, track);
    frame.bankDegrees = bankDegrees(frame.bank);
    frame.heading =
        static_cast<float>(std::atan2(ahead.x - frame.point.x, ahead.z - frame.point.z));

    const Point3D tangent = vectors.Subtract(ahead, frame.point);
    Point3D side = vectors.CrossProduct(tangent, kUp);
    Point3D normal = vectors.CrossProduct(side, tangent);
    const float noise = roundingNoise(frame.point);
    if (vectors.GetLength(side) > noise) {
        side = vectors.Normalize(side);
        normal = vectors.Normalize(normal);
    } else {
        // The direction of rounding noise is none.
        frame.heading = 0;
        side = kFallbackSide;
        const bool vanishing = vectors.GetLength(tangent) <= noise;
        normal = vanishing ? kUp : vectors.Normalize(vectors.CrossProduct(side, tangent));
    }
    frame.side = side;
    frame.normal = normal;
    const float beta = frame.bank - kQuarterTurn;
    frame.down = vectors.Add(vectors.MultScalar(side, static_cast<float>(std::cos(beta))),
                             vectors.MultScalar(normal, static_cast<float>(std::sin(beta))));
    return frame;
}
