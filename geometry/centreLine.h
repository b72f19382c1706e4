// The track's centre line cut into short straight pieces: the one sampler
// every check, the report and the view take their points from.
//
//   samplePoints     the points at t = k / pieces, k = 0..pieces, of a
//                    segment's curve, evaluated as the supports stand on it
//                    (cubicPoint) or as the view draws it (centreLinePoint).
//   piecesWithin     how many pieces of even curve parameter keep within the
//                    tolerance of a curve and no longer than the longest piece:
//                    between samples h apart a cubic strays at most h^2 / 8
//                    times its largest second derivative, which is 6 times
//                    the larger second difference of the control points (at
//                    most 4,096 pieces for the bend, past which they would
//                    follow rounding noise; as many as the length takes, up
//                    to the line's cap). 0 for a curve that is not finite.
//   SampledCentreLine  every segment with a curve (the closing segment of a
//                    closed track too) in piecesWithin pieces, with the arc
//                    position of each piece: measured along the pieces from
//                    the start of segment 0 through the segments in order. A
//                    segment whose points are not all finite has no pieces.
//                    A track that would need more than 2,097,152 pieces
//                    (8,000,000 long at pieces of 4) is sampled more
//                    coarsely instead: the line and the check's grid take
//                    some 220 MB at most.
#pragma once

#include <cstddef>
#include <vector>

#include "curve.h"
#include "pieces.h"

enum class CurveForm { kSupports, kDrawn };

std::vector<Point3D> samplePoints(const SegmentCurve& curve, size_t pieces, CurveForm form);
// How finely a curve is sampled.
struct Sampling {
    float tolerance;  // the most a piece may stray from the curve
    float maxPiece;   // the longest piece
};

size_t piecesWithin(const SegmentCurve& curve, const Sampling& sampling);

class SampledCentreLine {
public:
    // Where a piece lies along the line.
    struct PieceArc {
        double start;  // arc position of its first end
        float length;
        int segment;   // from 0
    };

    SampledCentreLine(const ZvTrack& track, const Sampling& sampling);

    const std::vector<TubeSegment>& pieces() const { return pieces_; }
    const std::vector<PieceArc>& arcs() const { return arcs_; }
    double length() const { return length_; }
    bool closed() const { return closed_; }

    // Arc position of the point at curve parameter t (clamped to 0..1) of a
    // segment; not a number for a segment without pieces.
    double arcAt(int segment, float t) const;
    // The distance along the line between two arc positions; on a closed
    // line the shorter way round.
    double arcGap(double a, double b) const;

private:
    struct SegmentPieces {
        size_t first = 0, count = 0;
    };

    std::vector<TubeSegment> pieces_;  // in track order
    std::vector<PieceArc> arcs_;       // per piece
    std::vector<SegmentPieces> segments_;
    double length_ = 0;
    bool closed_ = false;
};
