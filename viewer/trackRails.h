// The running rails and the spine of the track for the solid view, without
// any GL call: the centre line of each segment sampled with the banked frame
// of the track there.
//
//   railSamples  for every segment with a curve, in segment order (the order
//                of the scene's centre lines), kRailPieces + 1 samples at
//                t = k / kRailPieces: the centre-line point, and the banked
//                track's side and up directions (unit vectors), turned by
//                the banking (TrackCalc::GetBanking) the way the generator
//                turns the supports' frame.
//   railPoint    where a rail or the spine runs at a sample.
#pragma once

#include <vector>

#include "zvtrack.h"

constexpr int kRailPieces = 32;
constexpr float kRailHalfGauge = 0.55f;  // from the centre line to each rail
constexpr float kSpineDrop = 0.45f;      // from the centre line down to the spine
constexpr float kRailRadius = 0.07f;
constexpr float kSpineRadius = 0.18f;

struct RailSample {
    Point3D centre;  // the centre line's point
    Point3D side;    // across the track, to the right when looking ahead
    Point3D up;      // up from the track's deck
};

enum class Rail { kLeft, kRight, kSpine };
constexpr Rail kRails[] = {Rail::kLeft, Rail::kRight, Rail::kSpine};

std::vector<std::vector<RailSample>> railSamples(ZvTrack* track);
Point3D railPoint(const RailSample& sample, Rail rail);
float railRadius(Rail rail);
