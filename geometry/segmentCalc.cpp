#include "segmentCalc.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "angles.h"

namespace {

constexpr int kPolygonPoints = 4;

// Bezier j, or nullptr when the document has none at that index.
const BezierRecord* bezierAt(int index, const ZvTrack* track) {
    if (index < 0 || index >= static_cast<int>(track->bezierArray.size())) return nullptr;
    return &track->bezierArray[index];
}

Point3D midpoint(const Point3D& a, const Point3D& b) {
    return {a.x * 0.5f + b.x * 0.5f, a.y * 0.5f + b.y * 0.5f, a.z * 0.5f + b.z * 0.5f};
}

float pieceDistance(const Point3D& a, const Point3D& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy + dz * dz)));
}

// De Casteljau at 0.5: both halves share the curve's point there.
void splitPiece(const Point3D* polygon, Point3D* left, Point3D* right) {
    Point3D triangle[kPolygonPoints][kPolygonPoints];
    for (int j = 0; j < kPolygonPoints; ++j) triangle[0][j] = polygon[j];
    for (int r = 1; r < kPolygonPoints; ++r) {
        for (int j = 0; j < kPolygonPoints - r; ++j) {
            triangle[r][j] = midpoint(triangle[r - 1][j], triangle[r - 1][j + 1]);
        }
    }
    for (int k = 0; k < kPolygonPoints; ++k) {
        left[k] = triangle[k][0];
        right[k] = triangle[kPolygonPoints - 1 - k][k];
    }
}

bool samePiece(const Point3D* a, const Point3D* b) {
    for (int k = 0; k < kPolygonPoints; ++k) {
        if (a[k].x != b[k].x || a[k].y != b[k].y || a[k].z != b[k].z) return false;
    }
    return true;
}

}  // namespace

Point3D BezierCalc::GetPosSegmentNode(float t, int segment, ZvTrack* track) {
    SegmentCurve curve;
    if (segmentCurve(segment, track, &curve)) return cubicPoint(curve, t);
    const BezierRecord* first = bezierAt(segment, track);
    return first ? first->position : Point3D{};
}

float BezierCalc::getDistance(Point3D* a, Point3D* b) { return pieceDistance(*a, *b); }

void BezierCalc::bezierSplit(Point3D* polygon, Point3D* left, Point3D* right) {
    splitPiece(polygon, left, right);
}

void BezierCalc::bezierAddIfClose(Point3D* polygon, float* length, float* found, Point3D* out,
                                  float distance, float tolerance) {
    walkPiece(polygon, length, found, out, distance, tolerance, 0);
}

namespace {

// The recursion of every walk: halves a piece of the curve between parameters
// t0 and t1 until it is flat, and hands each flat piece to visit(piece, sides,
// t1) in curve order, `sides` being its control-polygon length. Returns the
// deepest level reached.
template <class Visit>
int walkFlatPieces(const Point3D* polygon, float tolerance, int depth, double t0, double t1,
                   Visit& visit) {
    const float sides = pieceDistance(polygon[0], polygon[1]) +
                        pieceDistance(polygon[1], polygon[2]) +
                        pieceDistance(polygon[2], polygon[3]);
    const float chord = pieceDistance(polygon[0], polygon[3]);
    const float excess = sides - chord;
    // A NaN excess compares false and so counts as flat; an infinite one would
    // split forever into NaN pieces, so it counts as flat too.
    if (excess > tolerance && std::isfinite(excess) && depth < kArcWalkMaxDepth) {
        Point3D left[kPolygonPoints];
        Point3D right[kPolygonPoints];
        splitPiece(polygon, left, right);
        // Halving in float can give back the piece itself; then it cannot be
        // refined any further and counts as flat.
        if (!samePiece(left, polygon) && !samePiece(right, polygon)) {
            const double middle = t0 * 0.5 + t1 * 0.5;
            const int deepestLeft = walkFlatPieces(left, tolerance, depth + 1, t0, middle, visit);
            const int deepestRight = walkFlatPieces(right, tolerance, depth + 1, middle, t1, visit);
            return std::max(deepestLeft, deepestRight);
        }
    }
    visit(polygon, sides, t1);
    return depth;
}

}  // namespace

int BezierCalc::walkPiece(Point3D* polygon, float* length, float* found, Point3D* out,
                          float distance, float tolerance, int depth) {
    auto addIfClose = [&](const Point3D* piece, float sides, double) {
        *length += sides;
        const double reached = *length;
        if (reached > distance - kCaptureWindow && reached < distance + kCaptureWindow &&
            distance != 0 && *found == 0) {
            *out = piece[3];
            *found = 1;
        }
    };
    return walkFlatPieces(polygon, tolerance, depth, 0.0, 1.0, addIfClose);
}

std::vector<ArcPiece> arcPieces(const SegmentCurve& curve, float tolerance) {
    std::vector<ArcPiece> pieces;
    float length = 0;
    auto record = [&](const Point3D* piece, float sides, double tEnd) {
        length += sides;
        pieces.push_back({length, piece[3], tEnd});
    };
    walkFlatPieces(curve.p, tolerance, 0, 0.0, 1.0, record);
    return pieces;
}

float parameterAtArc(const SegmentCurve& curve, const std::vector<ArcPiece>& table, double distance) {
    constexpr int kBisections = 30;
    auto chord = [](const Point3D& a, const Point3D& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); };
    const auto reached = std::lower_bound(table.begin(), table.end(), distance,
                                          [](const ArcPiece& piece, double d) { return piece.length < d; });
    if (reached == table.end()) return 1.0f;
    const bool first = reached == table.begin();
    const Point3D start = first ? curve.p[0] : std::prev(reached)->end;
    const double startLength = first ? 0.0 : std::prev(reached)->length;
    const double span = reached->length - startLength;
    const double share = span > 0 ? std::min(1.0, std::max(0.0, (distance - startLength) / span)) : 1.0;
    const double wanted = share * static_cast<double>(chord(start, reached->end));
    double low = first ? 0.0 : std::prev(reached)->t;
    double high = reached->t;
    for (int i = 0; i < kBisections; ++i) {
        const double middle = (low + high) / 2;
        const double along = chord(start, cubicPoint(curve, static_cast<float>(middle)));
        (along < wanted ? low : high) = middle;
    }
    return static_cast<float>((low + high) / 2);
}

long capturedPiece(const std::vector<ArcPiece>& pieces, float distance) {
    if (distance == 0) return -1;
    // Accumulated lengths never fall, but once one is NaN all later ones are
    // and none of them can be captured.
    const auto comparable = std::partition_point(
        pieces.begin(), pieces.end(), [](const ArcPiece& piece) { return !std::isnan(piece.length); });
    const double low = distance - kCaptureWindow;
    const double high = distance + kCaptureWindow;
    const auto entered = std::partition_point(
        pieces.begin(), comparable, [low](const ArcPiece& piece) { return !(piece.length > low); });
    if (entered == comparable || !(entered->length < high)) return -1;
    return entered - pieces.begin();
}

float BezierCalc::GetBezierLength(Point3D* polygon, float distance, float tolerance) {
    float length = 0;
    float found = 0;
    Point3D scratch;
    bezierAddIfClose(polygon, &length, &found, &scratch, distance, tolerance);
    return length;
}

float BezierCalc::GetBezierLength(int segment, float distance, float tolerance, ZvTrack* track) {
    SegmentCurve curve;
    if (!segmentCurve(segment, track, &curve)) return 0;
    return GetBezierLength(curve.p, distance, tolerance);
}

float BezierCalc::GetBezierLength(int segment, float distance, ZvTrack* track) {
    return GetBezierLength(segment, distance, kLengthTolerance, track);
}

void BezierCalc::GetBezierPos(int segment, float distance, Point3D* out, float /*tolerance*/,
                              ZvTrack* track) {
    SegmentCurve curve;
    if (!segmentCurve(segment, track, &curve)) return;
    float length = 0;
    float found = 0;
    bezierAddIfClose(curve.p, &length, &found, out, distance, kPositionTolerance);
}

float TrackCalc::GetBanking(int segment, float t, ZvTrack* track) {
    const int next = followingBezier(segment, track);
    if (next < 0) return 0;
    const BezierRecord& first = track->bezierArray[segment];
    const float r0 = first.roll;
    const float r1 = track->bezierArray[next].roll;
    const float change = r1 - r0;
    float correction = 0;
    if (first.rollFlag == 0 && segment >= 1) {
        const float previousChange = r0 - track->bezierArray[segment - 1].roll;
        const float remaining = 1 - t;
        correction = static_cast<float>(2 * std::sin(std::pow(remaining * kPi, 2.0)) *
                                        previousChange / 27);
    }
    return static_cast<float>((2 - (std::cos(t * kPi) + 1)) * change / 2 + r0 - correction);
}
