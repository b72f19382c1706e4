#include "clearance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <tuple>

#include "curve.h"

namespace {

// Cell sizes of the grids over the centre line and over a file's tubes.
constexpr float kLineCellSize = 8.0f;
constexpr float kTubeCellSize = 8.0f;
// More pieces than this per segment would only follow rounding noise.
constexpr double kMaxPiecesPerSegment = 4096;
// A line of more pieces (some 100 MB) is sampled more coarsely instead.
constexpr size_t kMaxPieces = size_t{1} << 22;
constexpr double kNoArc = std::numeric_limits<double>::quiet_NaN();
constexpr float kNoCoordinate = std::numeric_limits<float>::quiet_NaN();
constexpr Point3D kNowhere{kNoCoordinate, kNoCoordinate, kNoCoordinate};
constexpr uint32_t kNoPiece = std::numeric_limits<uint32_t>::max();
constexpr size_t kNoStructure = std::numeric_limits<size_t>::max();

// Distances are worked out in double: the differences of float coordinates
// are then exact.
struct Vec {
    double x, y, z;
};
Vec vec(const Point3D& p) { return {p.x, p.y, p.z}; }
Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator+(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(const Vec& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double norm(const Vec& a) { return std::sqrt(dot(a, a)); }
Point3D pointOf(const Vec& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}
double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

// The closest points of pieces p0-p1 and q0-q1: parameters s along p and t
// along q, and their distance.
struct Closest {
    double s, t, distance;
};

Closest closestPoints(const Point3D& p0, const Point3D& p1, const Point3D& q0, const Point3D& q1) {
    const Vec a = vec(p0), b = vec(q0);
    const Vec d1 = vec(p1) - a, d2 = vec(q1) - b, r = a - b;
    const double e1 = dot(d1, d1), e2 = dot(d2, d2), f = dot(d2, r);
    double s = 0, t = 0;
    if (e1 == 0 && e2 == 0) {
        // two points
    } else if (e1 == 0) {
        t = clamp01(f / e2);
    } else {
        const double c = dot(d1, r);
        if (e2 == 0) {
            s = clamp01(-c / e1);
        } else {
            const double b12 = dot(d1, d2);
            const double denominator = e1 * e2 - b12 * b12;  // 0 when parallel
            s = denominator > 0 ? clamp01((b12 * f - c * e2) / denominator) : 0.0;
            t = (b12 * s + f) / e2;
            if (t < 0) {
                t = 0;
                s = clamp01(-c / e1);
            } else if (t > 1) {
                t = 1;
                s = clamp01((b12 - c) / e1);
            }
        }
    }
    return {s, t, norm((a + d1 * s) - (b + d2 * t))};
}

Point3D pointAt(const TubeSegment& piece, double s) {
    return pointOf(vec(piece.from) + (vec(piece.to) - vec(piece.from)) * s);
}

// Even pieces of curve parameter that keep within kSampleTolerance of the
// curve: between samples h apart a cubic strays at most h^2 / 8 times its
// largest second derivative, which is 6 times the larger second difference
// of the control points. 0 for a curve that is not finite.
size_t piecesFor(const SegmentCurve& curve) {
    const Vec p0 = vec(curve.p[0]), p1 = vec(curve.p[1]), p2 = vec(curve.p[2]), p3 = vec(curve.p[3]);
    const double bend = std::max(norm(p0 - p1 * 2 + p2), norm(p1 - p2 * 2 + p3));
    const double polygon = norm(p1 - p0) + norm(p2 - p1) + norm(p3 - p2);
    const double byBend = std::ceil(std::sqrt(0.75 * bend / kSampleTolerance));
    const double byLength = std::ceil(polygon / kMaxPieceLength);
    const double count = std::max({1.0, byBend, byLength});
    if (!std::isfinite(count)) return 0;
    return static_cast<size_t>(std::min(count, kMaxPiecesPerSegment));
}

Box boxOf(const TubeSegment& piece) { return boxAround(piece.from, piece.to); }

Box merged(const Box& a, const Box& b) {
    return {{std::min(a.lo.x, b.lo.x), std::min(a.lo.y, b.lo.y), std::min(a.lo.z, b.lo.z)},
            {std::max(a.hi.x, b.hi.x), std::max(a.hi.y, b.hi.y), std::max(a.hi.z, b.hi.z)}};
}

template <class Record>
const Record* recordAt(const std::vector<Record>& records, int index) {
    if (index < 0 || static_cast<size_t>(index) >= records.size()) return nullptr;
    return &records[static_cast<size_t>(index)];
}

// Where a tube end is: a foundation or free node, or a marker on its curve
// (at its segment's first bezier when the segment has none); nowhere when
// the end names no node.
struct TubeEnd {
    int kind, segment, index;
};

TubeEnd firstEnd(const TubeRecord& tube) { return {tube.kind1, tube.segment1, tube.index1}; }
TubeEnd secondEnd(const TubeRecord& tube) { return {tube.kind2, tube.segment2, tube.index2}; }

Point3D endPoint(const ZvTrack& track, const TubeEnd& end) {
    const int kind = end.kind, segment = end.segment, index = end.index;
    if (kind == kEndFundNode) {
        const FundNodeRecord* node = recordAt(track.fundNodeArray, index);
        return node ? Point3D{node->x, node->y, node->z} : kNowhere;
    }
    if (kind == kEndFreeNode) {
        const FreeNodeRecord* node = recordAt(track.freeNodeArray, index);
        return node ? Point3D{node->x, node->y, node->z} : kNowhere;
    }
    if (kind != kEndTrackNode) return kNowhere;
    const TrackNodeList* list = recordAt(track.trackNodeLists, segment);
    const TrackNodeRecord* marker = list ? recordAt(list->nodes, index) : nullptr;
    if (!marker) return kNowhere;
    SegmentCurve curve;
    if (segmentCurve(segment, &track, &curve)) return cubicPoint(curve, marker->segmentPos);
    const BezierRecord* first = recordAt(track.bezierArray, segment);
    return first ? first->position : kNowhere;
}

TubeSegment tubeSegment(const ZvTrack& track, const TubeRecord& tube) {
    return {endPoint(track, firstEnd(tube)), endPoint(track, secondEnd(tube))};
}

// Tubes joined into structures, by union and find.
class Joins {
public:
    explicit Joins(size_t count) : parent(count) {
        for (size_t i = 0; i < count; ++i) parent[i] = i;
    }
    size_t root(size_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    }
    void join(size_t a, size_t b) { parent[root(a)] = root(b); }

private:
    std::vector<size_t> parent;
};

// Joins the tubes that end at the same free node or marker.
void joinSharedNodes(const ZvTrack& track, const std::vector<TubeSegment>& tubes, Joins& joins) {
    std::map<std::tuple<int, int, int>, size_t> firstAt;
    auto visit = [&](size_t tube, const TubeEnd& end) {
        if (end.kind != kEndFreeNode && end.kind != kEndTrackNode) return;
        const int segment = end.kind == kEndFreeNode ? 0 : end.segment;  // a free node has no segment
        const auto found = firstAt.emplace(std::make_tuple(end.kind, segment, end.index), tube);
        if (!found.second) joins.join(tube, found.first->second);
    };
    for (size_t i = 0; i < tubes.size(); ++i) {
        if (!isFinite(tubes[i])) continue;
        visit(i, firstEnd(track.tubeArray[i]));
        visit(i, secondEnd(track.tubeArray[i]));
    }
}

// Joins each tube to the tubes its free-node ends lie on.
void joinEndsOnTubes(const ZvTrack& track, const std::vector<TubeSegment>& tubes, Joins& joins) {
    const SegmentGrid grid(tubes, kTubeCellSize);
    auto joinAt = [&](size_t tube, const Point3D& end) {
        grid.forEachNear(grown(boxAround(end, end), kJoinTolerance), [&](uint32_t other) {
            if (other != tube &&
                closestPoints(end, end, tubes[other].from, tubes[other].to).distance <= kJoinTolerance) {
                joins.join(tube, other);
            }
        });
    };
    for (size_t i = 0; i < tubes.size(); ++i) {
        if (!isFinite(tubes[i])) continue;
        const TubeRecord& tube = track.tubeArray[i];
        if (tube.kind1 == kEndFreeNode) joinAt(i, tubes[i].from);
        if (tube.kind2 == kEndFreeNode) joinAt(i, tubes[i].to);
    }
}

// The checkable tubes grouped into structures, each in tube order.
std::vector<std::vector<size_t>> joinedStructures(const ZvTrack& track,
                                                  const std::vector<TubeSegment>& tubes) {
    Joins joins(tubes.size());
    joinSharedNodes(track, tubes, joins);
    joinEndsOnTubes(track, tubes, joins);
    std::vector<std::vector<size_t>> structures;
    std::vector<size_t> structureOf(tubes.size(), kNoStructure);
    for (size_t i = 0; i < tubes.size(); ++i) {
        if (!isFinite(tubes[i])) continue;
        size_t& structure = structureOf[joins.root(i)];
        if (structure == kNoStructure) {
            structure = structures.size();
            structures.emplace_back();
        }
        structures[structure].push_back(i);
    }
    return structures;
}

// The highest end of a structure's tubes.
Point3D topOf(const std::vector<TubeSegment>& members) {
    Point3D top = members.front().from;
    for (const TubeSegment& member : members) {
        if (member.from.y > top.y) top = member.from;
        if (member.to.y > top.y) top = member.to;
    }
    return top;
}

}  // namespace

CentreLine::CentreLine(const ZvTrack& track, float clearance)
    : closed(track.closedTrack != 0), radius(clearance),
      ownReach(static_cast<double>(clearance) + kOwnStretchMargin) {
    segments.resize(track.segmentArray.size());
    std::vector<size_t> counts(segments.size(), 0);
    SegmentCurve curve;
    for (size_t s = 0; s < segments.size(); ++s) {
        if (segmentCurve(static_cast<int>(s), &track, &curve)) counts[s] = piecesFor(curve);
    }
    // Sized once: the lists of a long track are large, and growing them would
    // touch twice the memory.
    size_t total = std::accumulate(counts.begin(), counts.end(), size_t{0});
    if (total > kMaxPieces) {
        for (size_t& count : counts) count = count == 0 ? 0 : std::max<size_t>(1, count * kMaxPieces / total);
        total = std::accumulate(counts.begin(), counts.end(), size_t{0});
    }
    pieces.reserve(total);
    arcs.reserve(total);
    for (size_t s = 0; s < segments.size(); ++s) {
        const size_t count = counts[s];
        if (count == 0 || !segmentCurve(static_cast<int>(s), &track, &curve)) continue;
        const size_t first = pieces.size();
        Point3D from = curve.p[0];
        for (size_t k = 1; k <= count; ++k) {
            const Point3D to = cubicPoint(curve, static_cast<float>(static_cast<double>(k) / static_cast<double>(count)));
            pieces.push_back({from, to});
            from = to;
        }
        // A curve whose points overflow has no place to be near.
        if (!std::all_of(pieces.begin() + static_cast<long>(first), pieces.end(),
                         [](const TubeSegment& p) { return isFinite(p); })) {
            pieces.resize(first);
            continue;
        }
        segments[s] = {first, count};
        for (size_t k = first; k < pieces.size(); ++k) {
            const float length = static_cast<float>(norm(vec(pieces[k].to) - vec(pieces[k].from)));
            arcs.push_back({totalLength, length, static_cast<int>(s)});
            totalLength += length;
        }
    }
    grid = SegmentGrid(pieces, kLineCellSize);
    lastSearch.assign(pieces.size(), 0);
}

double CentreLine::arcAt(int segment, float t) const {
    if (segment < 0 || static_cast<size_t>(segment) >= segments.size() || !std::isfinite(t)) return kNoArc;
    const SegmentPieces& span = segments[static_cast<size_t>(segment)];
    if (span.count == 0) return kNoArc;
    const double along = clamp01(t) * static_cast<double>(span.count);
    const size_t piece = std::min(static_cast<size_t>(along), span.count - 1);
    const PieceArc& arc = arcs[span.first + piece];
    return arc.start + (along - static_cast<double>(piece)) * arc.length;
}

double CentreLine::nearestArc(const Point3D& p) const {
    if (pieces.empty() || !isFinite(TubeSegment{p, p})) return kNoArc;
    // Widen the search until the nearest piece found lies within it: every
    // piece nearer than that has then been seen.
    for (float reach = kLineCellSize;; reach *= 4) {
        const Box box = grown(boxAround(p, p), reach);
        double best = std::numeric_limits<double>::infinity();
        double bestArc = kNoArc;
        grid.forEachNear(box, [&](uint32_t id) {
            const Closest closest = closestPoints(p, p, pieces[id].from, pieces[id].to);
            if (closest.distance < best) {
                best = closest.distance;
                bestArc = arcs[id].start + closest.t * arcs[id].length;
            }
        });
        if (best <= reach || grid.coversAll(box)) return bestArc;
    }
}

bool CentreLine::inOwnStretch(const PieceArc& arc, double ownArc) const {
    const double half = arc.length / 2.0;
    double gap = std::fabs(arc.start + half - ownArc);
    if (closed) {
        // Arc positions lie within the line's length, so one turn is enough.
        if (gap > totalLength) gap = std::fmod(gap, totalLength);
        gap = std::min(gap, totalLength - gap);
    }
    return gap - half <= ownReach;
}

void CentreLine::findPasses(const std::vector<TubeSegment>& tubes, double ownArc,
                            std::vector<TubePass>* passes) {
    passes->clear();
    if (!(radius > 0) || pieces.empty()) return;
    bool anyTube = false;
    Box all{};
    for (const TubeSegment& tube : tubes) {
        if (!isFinite(tube)) continue;
        all = anyTube ? merged(all, boxOf(tube)) : boxOf(tube);
        anyTube = true;
    }
    if (!anyTube) return;

    // The pieces near the whole structure and off its own stretch; most
    // structures have none, and then no tube needs a look of its own.
    const Box reach = grown(all, radius);
    near.clear();
    nearBoxes.clear();
    // A piece filed under several cells is taken once per search.
    if (++search == 0) {
        std::fill(lastSearch.begin(), lastSearch.end(), 0);
        search = 1;
    }
    grid.forEachNear(reach, [&](uint32_t id) {
        const Box box = boxOf(pieces[id]);
        if (!overlaps(box, reach) || lastSearch[id] == search) return;
        lastSearch[id] = search;
        if (inOwnStretch(arcs[id], ownArc)) return;
        near.push_back(id);
        nearBoxes.push_back(box);
    });
    if (near.empty()) return;

    for (size_t i = 0; i < tubes.size(); ++i) {
        const TubeSegment& tube = tubes[i];
        if (!isFinite(tube)) continue;
        const Box tubeReach = grown(boxOf(tube), radius);
        Closest best{0, 0, radius};
        uint32_t bestPiece = kNoPiece;
        for (size_t k = 0; k < near.size(); ++k) {
            if (!overlaps(nearBoxes[k], tubeReach)) continue;
            const uint32_t id = near[k];
            const TubeSegment& piece = pieces[id];
            const Closest closest = closestPoints(tube.from, tube.to, piece.from, piece.to);
            if (closest.distance < best.distance) {
                best = closest;
                bestPiece = id;
            }
        }
        if (bestPiece == kNoPiece) continue;
        const CentreLinePass pass{arcs[bestPiece].segment, static_cast<float>(best.distance),
                                  pointAt(tube, best.s), pointAt(pieces[bestPiece], best.t)};
        passes->push_back({i, pass});
    }
}

BuiltClearance checkBuiltStructures(const ZvTrack& track, const std::vector<BuiltStructure>& structures,
                                    float radius) {
    BuiltClearance found;
    if (!(radius > 0)) return found;
    // Room for every structure costs nothing until it is written.
    found.structures.reserve(structures.size());
    CentreLine line(track, radius);
    std::vector<TubeSegment> tubes;
    std::vector<TubePass> passes;
    for (const BuiltStructure& structure : structures) {
        const size_t first = std::min(structure.firstTube, track.tubeArray.size());
        const size_t end = std::min(first + structure.tubeCount, track.tubeArray.size());
        tubes.clear();
        for (size_t i = first; i < end; ++i) tubes.push_back(tubeSegment(track, track.tubeArray[i]));
        line.findPasses(tubes, line.arcAt(structure.segment, structure.position), &passes);
        if (passes.empty()) continue;
        const auto closest = std::min_element(passes.begin(), passes.end(), [](const TubePass& a, const TubePass& b) {
            return a.pass.distance < b.pass.distance;
        });
        found.structures.push_back({structure, first + closest->tube, closest->pass, passes.size()});
        for (const TubePass& pass : passes) found.tubes.push_back(first + pass.tube);
    }
    // Structures are built one after the other, so their tubes come in order.
    return found;
}

std::vector<TubeConflict> checkTrackClearance(const ZvTrack& track, float radius) {
    std::vector<TubeConflict> conflicts;
    if (!(radius > 0)) return conflicts;
    std::vector<TubeSegment> tubes;
    tubes.reserve(track.tubeArray.size());
    for (const TubeRecord& tube : track.tubeArray) tubes.push_back(tubeSegment(track, tube));
    CentreLine line(track, radius);
    std::vector<TubeSegment> members;
    std::vector<TubePass> passes;
    for (const std::vector<size_t>& structure : joinedStructures(track, tubes)) {
        members.clear();
        for (size_t tube : structure) members.push_back(tubes[tube]);
        line.findPasses(members, line.nearestArc(topOf(members)), &passes);
        for (const TubePass& pass : passes) {
            const size_t tube = structure[pass.tube];
            conflicts.push_back({tube, tubes[tube].from, tubes[tube].to, pass.pass});
        }
    }
    std::sort(conflicts.begin(), conflicts.end(),
              [](const TubeConflict& a, const TubeConflict& b) { return a.tube < b.tube; });
    return conflicts;
}
