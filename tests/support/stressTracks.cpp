#include "stressTracks.h"

#include <cmath>
#include <vector>

#include "track.h"

namespace {

constexpr float kUpperHeight = 20.0f;
constexpr float kLowerHeight = 10.0f;
constexpr float kHairpinRadius = 5.0f;
constexpr float kVerticalBottom = 10.0f;
constexpr float kVerticalTop = 5000.0f;
constexpr double kHelixRadius = 3.0;
constexpr double kHelixPitch = 2.0;
constexpr double kHelixBottom = 10.0;
constexpr int kSegmentsPerTurn = 4;
constexpr int kMarkersPerHelixSegment = 8;
constexpr double kQuarterTurn = 1.5707963267948966;
// A cubic's handles that follow a quarter circle: 4/3 (sqrt 2 - 1) of its radius.
constexpr double kQuarterHandle = 0.5522847498307936;
constexpr int kDefaultByte = 255;

struct Node {
    Point3D position, in, out;
};

Point3D along(const Point3D& a, const Point3D& b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

// An open track through the nodes, one plain segment between each two.
ZvTrack openTrack(const std::vector<Node>& nodes) {
    ZvTrack track;
    initNewZvTrack(&track);
    setCoasterStyle(0, &track);
    deleteBezier(0, &track);
    for (const Node& n : nodes) {
        addBezier(n.position.x, n.position.y, n.position.z, n.in.x, n.in.y, n.in.z, n.out.x, n.out.y, n.out.z, 0,
                  0, 0, 0, &track);
    }
    const Color defaults = createColorARGB(0, kDefaultByte, 0, kDefaultByte);
    for (size_t s = 0; s + 1 < nodes.size(); ++s) {
        addSegment(kSegmentPlain, static_cast<int>(s) + 1, 0, Color{}, Color{}, defaults, 0, 0, &track);
    }
    return track;
}

// Nodes joined by straights: each handle a third of the way to its neighbour.
std::vector<Node> straightNodes(const std::vector<Point3D>& points) {
    std::vector<Node> nodes;
    for (size_t i = 0; i < points.size(); ++i) {
        const Point3D& p = points[i];
        const Point3D in = i > 0 ? along(p, points[i - 1], 1.0f / 3) : p;
        const Point3D out = i + 1 < points.size() ? along(p, points[i + 1], 1.0f / 3) : p;
        nodes.push_back({p, in, out});
    }
    return nodes;
}

Point3D helixPoint(double angle) {
    const double height = kHelixBottom + kHelixPitch * angle / (4 * kQuarterTurn);
    return {static_cast<float>(kHelixRadius * std::cos(angle)), static_cast<float>(height),
            static_cast<float>(kHelixRadius * std::sin(angle))};
}

}  // namespace

ZvTrack hairpinTrack(float length) {
    const Point3D start{0, kUpperHeight, 0}, turn{length, kUpperHeight, 0};
    const Point3D back{length, kLowerHeight, 0}, end{0, kLowerHeight, 0};
    // The turn's handles reach out along +x: the half circle between them.
    const float reach = kHairpinRadius * 4 / 3;
    return openTrack({{start, start, along(start, turn, 1.0f / 3)},
                      {turn, along(turn, start, 1.0f / 3), {length + reach, kUpperHeight, 0}},
                      {back, {length + reach, kLowerHeight, 0}, along(back, end, 1.0f / 3)},
                      {end, along(end, back, 1.0f / 3), end}});
}

ZvTrack verticalTrack(int segments) {
    std::vector<Point3D> points;
    for (int i = 0; i <= segments; ++i) points.push_back({0, i % 2 == 0 ? kVerticalBottom : kVerticalTop, 0});
    return openTrack(straightNodes(points));
}

ZvTrack helixTrack(int turns) {
    // Around the axis the handles follow a quarter circle; up it a third of
    // each segment's rise.
    const double handle = kQuarterHandle * kHelixRadius;
    const double riseHandle = kHelixPitch / kSegmentsPerTurn / 3;
    std::vector<Node> nodes;
    for (int i = 0; i <= turns * kSegmentsPerTurn; ++i) {
        const double angle = i * kQuarterTurn;
        const Point3D p = helixPoint(angle);
        const Point3D tangent{static_cast<float>(-std::sin(angle) * handle), static_cast<float>(riseHandle),
                              static_cast<float>(std::cos(angle) * handle)};
        nodes.push_back({p, {p.x - tangent.x, p.y - tangent.y, p.z - tangent.z},
                         {p.x + tangent.x, p.y + tangent.y, p.z + tangent.z}});
    }
    ZvTrack track = openTrack(nodes);
    for (int s = 0; s < turns * kSegmentsPerTurn; ++s) {
        for (int m = 0; m < kMarkersPerHelixSegment; ++m) {
            addTrackNode(s, kMarkerColumn, (static_cast<float>(m) + 0.5f) / kMarkersPerHelixSegment, &track);
        }
    }
    return track;
}
