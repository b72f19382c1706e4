#include "centreLine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

// More pieces than this for a segment's bend would only follow rounding noise.
constexpr double kMaxPiecesForBend = 4096;
// A line of more pieces is sampled more coarsely instead.
constexpr size_t kMaxPieces = size_t{1} << 21;
constexpr double kNoArc = std::numeric_limits<double>::quiet_NaN();

// The larger second difference of the control points: the bend of the curve.
double bendOf(const SegmentCurve& curve) {
    const Vec3d p0 = vec3d(curve.p[0]), p1 = vec3d(curve.p[1]), p2 = vec3d(curve.p[2]), p3 = vec3d(curve.p[3]);
    return std::max(norm(p0 - p1 * 2 + p2), norm(p1 - p2 * 2 + p3));
}

// Point k of a curve cut into `pieces` of even curve parameter.
Point3D samplePoint(const SegmentCurve& curve, size_t k, size_t pieces, CurveForm form) {
    const float t = static_cast<float>(static_cast<double>(k) / static_cast<double>(pieces));
    return form == CurveForm::kSupports ? cubicPoint(curve, t) : centreLinePoint(curve, t);
}

}  // namespace

std::vector<Point3D> samplePoints(const SegmentCurve& curve, size_t pieces, CurveForm form) {
    std::vector<Point3D> points;
    points.reserve(pieces + 1);
    for (size_t k = 0; k <= pieces; ++k) points.push_back(samplePoint(curve, k, pieces, form));
    return points;
}

size_t piecesWithin(const SegmentCurve& curve, const Sampling& sampling) {
    const Point3D* p = curve.p;
    const double polygon = exactDistance(p[1], p[0]) + exactDistance(p[2], p[1]) + exactDistance(p[3], p[2]);
    const double byBend = std::min(std::ceil(std::sqrt(0.75 * bendOf(curve) / sampling.tolerance)), kMaxPiecesForBend);
    const double byLength = std::ceil(polygon / sampling.maxPiece);
    const double count = std::max({1.0, byBend, byLength});
    if (!std::isfinite(count)) return 0;
    return static_cast<size_t>(std::min(count, static_cast<double>(kMaxPieces)));
}

SampledCentreLine::SampledCentreLine(const ZvTrack& track, const Sampling& sampling)
    : closed_(track.closedTrack != 0) {
    segments_.resize(track.segmentArray.size());
    std::vector<size_t> counts(segments_.size(), 0);
    SegmentCurve curve;
    for (size_t s = 0; s < segments_.size(); ++s) {
        if (segmentCurve(static_cast<int>(s), &track, &curve)) counts[s] = piecesWithin(curve, sampling);
    }
    // Sized once: the lists of a long track are large, and growing them would
    // touch twice the memory.
    size_t total = std::accumulate(counts.begin(), counts.end(), size_t{0});
    if (total > kMaxPieces) {
        std::transform(counts.begin(), counts.end(), counts.begin(), [total](size_t count) {
            return count == 0 ? 0 : std::max<size_t>(1, count * kMaxPieces / total);
        });
        total = std::accumulate(counts.begin(), counts.end(), size_t{0});
    }
    pieces_.reserve(total);
    arcs_.reserve(total);
    for (size_t s = 0; s < segments_.size(); ++s) {
        const size_t count = counts[s];
        if (count == 0 || !segmentCurve(static_cast<int>(s), &track, &curve)) continue;
        // Point by point: one segment may take millions. A curve whose points
        // overflow has no place to be near, and its pieces go again.
        const size_t first = pieces_.size();
        const double start = length_;
        Point3D from = samplePoint(curve, 0, count, CurveForm::kSupports);
        bool finite = isFinite(from);
        for (size_t k = 1; k <= count && finite; ++k) {
            const Point3D to = samplePoint(curve, k, count, CurveForm::kSupports);
            finite = isFinite(to);
            pieces_.push_back({from, to});
            const float pieceLength = static_cast<float>(exactDistance(to, from));
            arcs_.push_back({length_, pieceLength, static_cast<int>(s)});
            length_ += pieceLength;
            from = to;
        }
        if (!finite) {
            pieces_.resize(first);
            arcs_.resize(first);
            length_ = start;
            continue;
        }
        segments_[s] = {first, count};
    }
}

double SampledCentreLine::arcAt(int segment, float t) const {
    if (segment < 0 || static_cast<size_t>(segment) >= segments_.size() || !std::isfinite(t)) return kNoArc;
    const SegmentPieces& span = segments_[static_cast<size_t>(segment)];
    if (span.count == 0) return kNoArc;
    const double along = std::min(1.0, std::max(0.0, static_cast<double>(t))) * static_cast<double>(span.count);
    const size_t piece = std::min(static_cast<size_t>(along), span.count - 1);
    const PieceArc& arc = arcs_[span.first + piece];
    return arc.start + (along - static_cast<double>(piece)) * arc.length;
}

double SampledCentreLine::arcGap(double a, double b) const {
    double gap = std::fabs(a - b);
    if (closed_) {
        // Arc positions lie within the line's length, so one turn is enough.
        if (gap > length_) gap = std::fmod(gap, length_);
        gap = std::min(gap, length_ - gap);
    }
    return gap;
}
