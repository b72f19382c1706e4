#include "syntheticTrack.h"

#include <algorithm>
#include <cmath>

#include "track.h"

namespace {

constexpr int kMarkersPerSegment = 4;
constexpr int kMarkerTypes[kMarkersPerSegment] = {kMarkerColumn, kMarkerStrutOnly, kMarkerCrossbeam,
                                                   kMarkerBracedLeg};
constexpr double kTwoPi = 6.283185307179586;
constexpr double kLoopRadius = 1500.0;
constexpr double kSegmentArc = 20.0;        // length of one segment along the loop
constexpr double kMeanHeight = 22.5;        // hills between 5 and 40
constexpr double kHillHeight = 17.5;
constexpr int kSegmentsPerHill = 40;
constexpr double kMaxRoll = 1.2;            // radians, about 69 degrees
constexpr int kSegmentsPerBank = 24;
constexpr int kOpaque = 255;
constexpr int kDefaultByte = 255;

Point3D loopPoint(int i, double radius) {
    const double angle = i * kSegmentArc / radius;
    const double height = kMeanHeight + kHillHeight * std::sin(kTwoPi * i / kSegmentsPerHill);
    return {static_cast<float>(radius * std::cos(angle)), static_cast<float>(height),
            static_cast<float>(radius * std::sin(angle))};
}

// A third of the way from the neighbour before to the one after, halved: the
// handles of a smooth curve through the loop points.
Point3D handle(int i, double radius) {
    const Point3D before = loopPoint(i - 1, radius), after = loopPoint(i + 1, radius);
    return {(after.x - before.x) / 6, (after.y - before.y) / 6, (after.z - before.z) / 6};
}

void addLoopBezier(int i, double radius, ZvTrack* track) {
    const Point3D p = loopPoint(i, radius), h = handle(i, radius);
    const float roll = static_cast<float>(kMaxRoll * std::sin(kTwoPi * i / kSegmentsPerBank));
    addBezier(p.x, p.y, p.z, p.x - h.x, p.y - h.y, p.z - h.z, p.x + h.x, p.y + h.y, p.z + h.z, roll,
              0, 0, 0, track);
}

void addLoopSegment(int s, ZvTrack* track) {
    const Color mirrored = s % 5 == 0 ? createColorARGB(kOpaque, 0, kOpaque, 0) : Color{};
    const Color noDiagonal = s % 3 == 0 ? createColorARGB(kOpaque, kOpaque, 0, 0) : Color{};
    const Color tie = s % 7 == 0 ? createColorARGB(0, 4, 0, 20)
                                 : createColorARGB(0, kDefaultByte, 0, kDefaultByte);
    addSegment(kSegmentPlain, s + 1, 0, mirrored, noDiagonal, tie, 0, 0, track);
}

int segmentsFor(int markers) { return std::max(1, (markers + kMarkersPerSegment - 1) / kMarkersPerSegment); }

enum class Laps { kStacked, kOne };

// Laps on a loop of kLoopRadius, or one lap as long as the segments make it.
ZvTrack circuit(int markers, Laps laps) {
    ZvTrack track;
    initNewZvTrack(&track);
    setCoasterStyle(0, &track);
    const int segments = segmentsFor(markers);
    const double radius = laps == Laps::kStacked ? kLoopRadius : segments * kSegmentArc / kTwoPi;
    deleteBezier(0, &track);
    for (int i = 0; i < segments; ++i) addLoopBezier(i, radius, &track);
    track.closedTrack = 1;  // the last segment runs back to bezier 0
    for (int s = 0; s < segments; ++s) addLoopSegment(s, &track);
    for (int m = 0; m < markers; ++m) {
        const int s = std::min(m / kMarkersPerSegment, segments - 1);
        const int slot = m % kMarkersPerSegment;
        const float position = (slot + 0.5f) / kMarkersPerSegment;
        addTrackNode(s, kMarkerTypes[(slot + s) % kMarkersPerSegment], position, &track);
    }
    return track;
}

}  // namespace

ZvTrack syntheticTrack(int markers) { return circuit(markers, Laps::kStacked); }

ZvTrack fixedDensityTrack(int markers) { return circuit(markers, Laps::kOne); }

void stripMarkers(ZvTrack* track) {
    for (size_t s = 0; s < track->trackNodeLists.size(); ++s) {
        for (int j = getTotalTrackNodes(static_cast<int>(s), track) - 1; j >= 0; --j) {
            deleteTrackNode(static_cast<int>(s), j, track);
        }
    }
}
