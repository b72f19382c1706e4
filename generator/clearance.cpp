#include "clearance.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <tuple>

#include "trackPoints.h"

namespace {

// Cell sizes of the grids over the centre line and over a file's tubes.
constexpr float kLineCellSize = 8.0f;
constexpr float kTubeCellSize = 8.0f;
// A search for the first conflict takes the pieces near a structure this
// much of their height at a time.
constexpr float kLayerDepth = kLineCellSize;
constexpr double kNoArc = std::numeric_limits<double>::quiet_NaN();
constexpr size_t kNoStructure = std::numeric_limits<size_t>::max();
constexpr float kNoCoordinate = std::numeric_limits<float>::quiet_NaN();
constexpr Point3D kNowhere{kNoCoordinate, kNoCoordinate, kNoCoordinate};

Box boxOf(const TubeSegment& piece) { return boxAround(piece.from, piece.to); }

Box merged(const Box& a, const Box& b) {
    return {{std::min(a.lo.x, b.lo.x), std::min(a.lo.y, b.lo.y), std::min(a.lo.z, b.lo.z)},
            {std::max(a.hi.x, b.hi.x), std::max(a.hi.y, b.hi.y), std::max(a.hi.z, b.hi.z)}};
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

// Joins each tube to the tubes its free-node ends lie on (see
// kMaxJoinsPerEnd).
void joinEndsOnTubes(const ZvTrack& track, const std::vector<TubeSegment>& tubes, Joins& joins) {
    const SegmentGrid grid(tubes, kTubeCellSize);
    auto joinAt = [&](size_t tube, const Point3D& end) {
        int joined = 0;
        const Box near = grown(boxAround(end, end), kJoinTolerance);
        grid.forEachRunNear(near, [&](const SegmentGrid::Entry* entry, const SegmentGrid::Entry* last) {
            for (; entry != last && joined < kMaxJoinsPerEnd; ++entry) {
                const TubeSegment& other = tubes[entry->piece];
                if (entry->piece == tube || !overlaps(boxOf(other), near) ||
                    closestPoints(end, end, other.from, other.to).distance > kJoinTolerance) {
                    continue;
                }
                joins.join(tube, entry->piece);
                ++joined;
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
Point3D topOf(const std::vector<BuiltTube>& members) {
    Point3D top = members.front().ends.from;
    for (const BuiltTube& member : members) {
        if (member.ends.from.y > top.y) top = member.ends.from;
        if (member.ends.to.y > top.y) top = member.ends.to;
    }
    return top;
}

}  // namespace

CentreLine::CentreLine(const ZvTrack& track, float clearance)
    : line(track, Sampling{kSampleTolerance, kMaxPieceLength}), radius(clearance),
      ownReach(static_cast<double>(clearance) + kOwnStretchMargin),
      grid(line.pieces(), kLineCellSize) {}

double CentreLine::nearestArc(const Point3D& p) const {
    const std::vector<TubeSegment>& pieces = line.pieces();
    if (pieces.empty() || !isFinite(p)) return kNoArc;
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
                bestArc = line.arcs()[id].start + closest.t * line.arcs()[id].length;
            }
        });
        if (best <= reach || grid.coversAll(box)) return bestArc;
    }
}

bool CentreLine::inOwnStretch(const SampledCentreLine::PieceArc& arc, double ownArc) const {
    const double half = arc.length / 2.0;
    return line.arcGap(arc.start + half, ownArc) - half <= ownReach;
}

bool CentreLine::firstConflict(const BuiltTube* first, const BuiltTube* last, double ownArc, TubePass* found) {
    const Structure structure{first, last, ownArc};
    uint32_t piece = 0;
    if (!firstPieceMet(structure, false, &piece)) return false;
    const Pair pair = closestInPass(piece, structure);
    found->tube = pair.tube;
    found->pass = {line.arcs()[pair.piece].segment, static_cast<float>(pair.closest.distance),
                   pointAt(first[pair.tube].ends, pair.closest.s), pointAt(line.pieces()[pair.piece], pair.closest.t)};
    return true;
}

bool CentreLine::anyConflict(const BuiltTube* first, const BuiltTube* last, double ownArc) {
    uint32_t piece = 0;
    return firstPieceMet({first, last, ownArc}, true, &piece);
}

// The highest piece within the radius of a member (see the header), or with
// `stopAtAny` the first such piece found.
bool CentreLine::firstPieceMet(const Structure& structure, bool stopAtAny, uint32_t* piece) {
    if (!(radius > 0) || line.pieces().empty() || !reachOf(structure)) return false;
    // A cursor per grid cell near the structure, each at the highest piece
    // that may reach it.
    cursors.clear();
    grid.forEachRunNear(structureReach, [this](const SegmentGrid::Entry* begin, const SegmentGrid::Entry* end) {
        if (begin != end) cursors.push_back({begin, end});
    });
    // Layer by layer from the top down: every piece of a layer is met before
    // the next, so the highest one met within the radius is in the first
    // layer that meets one.
    constexpr float kBottom = -std::numeric_limits<float>::infinity();
    while (true) {
        float highest = kBottom;
        for (const Cursor& cursor : cursors) {
            if (cursor.next != cursor.end) highest = std::max(highest, cursor.next->top);
        }
        if (highest == kBottom) return false;  // every cursor at its end
        const float floor = highest - kLayerDepth;
        bool met = false;
        SegmentGrid::Entry first{0, 0};
        for (Cursor& cursor : cursors) {
            for (; cursor.next != cursor.end && cursor.next->top >= floor; ++cursor.next) {
                const SegmentGrid::Entry& entry = *cursor.next;
                if (met && (entry.top < first.top || (entry.top == first.top && entry.piece > first.piece))) continue;
                if (!withinReach(entry.piece, structure)) continue;
                first = entry;
                met = true;
                if (stopAtAny) break;
            }
            if (met && stopAtAny) break;
        }
        if (met) {
            *piece = first.piece;
            return true;
        }
    }
}

// The box of the structure's tubes grown by the radius, in `structureReach`;
// false when no tube is finite.
bool CentreLine::reachOf(const Structure& structure) {
    bool any = false;
    for (const BuiltTube* tube = structure.first; tube != structure.last; ++tube) {
        if (!isFinite(tube->ends)) continue;
        const Box box = boxOf(tube->ends);
        structureReach = any ? merged(structureReach, box) : box;
        any = true;
    }
    structureReach = grown(structureReach, radius);
    return any;
}

// Whether a piece off the own stretch comes within the radius of a member.
bool CentreLine::withinReach(uint32_t id, const Structure& structure) const {
    const Box box = boxOf(line.pieces()[id]);
    if (!overlaps(box, structureReach) || inOwnStretch(line.arcs()[id], structure.ownArc)) return false;
    Pair pair{};
    return closestMember(id, structure, &pair);
}

// The member that comes closest to a piece off the own stretch, when one
// comes within the radius.
bool CentreLine::closestMember(uint32_t piece, const Structure& structure, Pair* pair) const {
    if (inOwnStretch(line.arcs()[piece], structure.ownArc)) return false;
    const TubeSegment& candidate = line.pieces()[piece];
    const Box box = boxOf(candidate);
    bool found = false;
    for (const BuiltTube* tube = structure.first; tube != structure.last; ++tube) {
        if (!isFinite(tube->ends) || !overlaps(box, grown(boxOf(tube->ends), radius))) continue;
        const Closest closest = closestPoints(tube->ends.from, tube->ends.to, candidate.from, candidate.to);
        if (closest.distance < radius && (!found || closest.distance < pair->closest.distance)) {
            *pair = {closest, piece, static_cast<size_t>(tube - structure.first)};
            found = true;
        }
    }
    return found;
}

// The closest pair of member and piece on the pass of the track through
// `piece` (see the header).
CentreLine::Pair CentreLine::closestInPass(uint32_t piece, const Structure& structure) const {
    Pair best{};
    closestMember(piece, structure, &best);
    const size_t count = line.pieces().size();
    auto closer = [](const Pair& a, const Pair& b) {
        return std::tie(a.closest.distance, a.piece, a.tube) < std::tie(b.closest.distance, b.piece, b.tube);
    };
    // Along the line both ways; a closed line goes round, at most once.
    const size_t most = std::min(count, kMostPassPieces + 1);
    for (const bool forward : {false, true}) {
        size_t next = piece;
        for (size_t taken = 1; taken < most; ++taken) {
            const bool wraps = forward ? next + 1 == count : next == 0;
            if (wraps && !line.closed()) break;
            next = forward ? (wraps ? 0 : next + 1) : (wraps ? count - 1 : next - 1);
            Pair pair{};
            if (!closestMember(static_cast<uint32_t>(next), structure, &pair)) break;
            if (closer(pair, best)) best = pair;
        }
    }
    return best;
}

BuiltClearance checkBuiltStructures(const ZvTrack& track, const GenerationReport& report, float radius) {
    BuiltClearance found;
    if (!(radius > 0)) return found;
    // Room for every structure costs nothing until it is written.
    found.structures.reserve(report.structures.size());
    CentreLine line(track, radius);
    TubePass pass;
    for (const BuiltStructure& structure : report.structures) {
        const BuiltTube* first = report.tubes.data() + structure.firstTube;
        if (!line.firstConflict(first, first + structure.tubeCount,
                                line.arcAt(structure.segment, structure.position), &pass)) {
            continue;
        }
        found.structures.push_back({structure, first[pass.tube], pass.pass});
        found.tubes.push_back(first[pass.tube].tube);
    }
    // Structures are built one after the other, so their tubes come in order.
    return found;
}

std::vector<TubeConflict> checkTrackClearance(const ZvTrack& track, float radius) {
    std::vector<TubeConflict> conflicts;
    if (!(radius > 0)) return conflicts;
    const MarkerPlaces markers = markersByParameter(track);
    std::vector<TubeSegment> tubes;
    tubes.reserve(track.tubeArray.size());
    for (const TubeRecord& tube : track.tubeArray) {
        TubeSegment ends{kNowhere, kNowhere};
        if (!tubeEndPoint(track, markers, firstEnd(tube), &ends.from) ||
            !tubeEndPoint(track, markers, secondEnd(tube), &ends.to)) {
            ends = {kNowhere, kNowhere};
        }
        tubes.push_back(ends);
    }
    CentreLine line(track, radius);
    std::vector<BuiltTube> members;
    TubePass pass;
    for (const std::vector<size_t>& structure : joinedStructures(track, tubes)) {
        members.clear();
        std::transform(structure.begin(), structure.end(), std::back_inserter(members), [&tubes](size_t tube) {
            return BuiltTube{tubes[tube], static_cast<int>(tube), MemberRole::kUnknown};
        });
        const double ownArc = line.nearestArc(topOf(members));
        if (!line.firstConflict(members.data(), members.data() + members.size(), ownArc, &pass)) continue;
        const size_t tube = structure[pass.tube];
        conflicts.push_back({tube, tubes[tube].from, tubes[tube].to, pass.pass});
    }
    std::sort(conflicts.begin(), conflicts.end(),
              [](const TubeConflict& a, const TubeConflict& b) { return a.tube < b.tube; });
    return conflicts;
}
