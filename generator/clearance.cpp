#include "clearance.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

#include "trackPoints.h"

namespace {

// Cell sizes of the grids over the centre line and over a file's tubes.
constexpr float kLineCellSize = 8.0f;
constexpr float kTubeCellSize = 8.0f;
constexpr double kNoArc = std::numeric_limits<double>::quiet_NaN();
constexpr uint32_t kNoPiece = std::numeric_limits<uint32_t>::max();
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
    : line(track, kSampleTolerance, kMaxPieceLength), radius(clearance),
      ownReach(static_cast<double>(clearance) + kOwnStretchMargin),
      grid(line.pieces(), kLineCellSize) {
    lastSearch.assign(line.pieces().size(), 0);
}

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

void CentreLine::findPasses(const BuiltTube* first, const BuiltTube* last, double ownArc,
                            std::vector<TubePass>* passes) {
    passes->clear();
    const std::vector<TubeSegment>& pieces = line.pieces();
    if (!(radius > 0) || pieces.empty()) return;
    bool anyTube = false;
    Box all{};
    for (const BuiltTube* tube = first; tube != last; ++tube) {
        if (!isFinite(tube->ends)) continue;
        all = anyTube ? merged(all, boxOf(tube->ends)) : boxOf(tube->ends);
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
        if (inOwnStretch(line.arcs()[id], ownArc)) return;
        near.push_back(id);
        nearBoxes.push_back(box);
    });
    if (near.empty()) return;

    for (const BuiltTube* built = first; built != last; ++built) {
        const TubeSegment& tube = built->ends;
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
        const CentreLinePass pass{line.arcs()[bestPiece].segment, static_cast<float>(best.distance),
                                  pointAt(tube, best.s), pointAt(pieces[bestPiece], best.t)};
        passes->push_back({static_cast<size_t>(built - first), pass});
    }
}

BuiltClearance checkBuiltStructures(const ZvTrack& track, const GenerationReport& report, float radius) {
    BuiltClearance found;
    if (!(radius > 0)) return found;
    // Room for every structure costs nothing until it is written.
    found.structures.reserve(report.structures.size());
    CentreLine line(track, radius);
    std::vector<TubePass> passes;
    for (const BuiltStructure& structure : report.structures) {
        const BuiltTube* first = report.tubes.data() + structure.firstTube;
        line.findPasses(first, first + structure.tubeCount, line.arcAt(structure.segment, structure.position),
                        &passes);
        if (passes.empty()) continue;
        const auto closest = std::min_element(passes.begin(), passes.end(), [](const TubePass& a, const TubePass& b) {
            return a.pass.distance < b.pass.distance;
        });
        found.structures.push_back({structure, first[closest->tube], closest->pass, passes.size()});
        for (const TubePass& pass : passes) found.tubes.push_back(first[pass.tube].tube);
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
    std::vector<TubePass> passes;
    for (const std::vector<size_t>& structure : joinedStructures(track, tubes)) {
        members.clear();
        for (size_t tube : structure) members.push_back({tubes[tube], static_cast<int>(tube), MemberRole::kUnknown});
        const double ownArc = line.nearestArc(topOf(members));
        line.findPasses(members.data(), members.data() + members.size(), ownArc, &passes);
        for (const TubePass& pass : passes) {
            const size_t tube = structure[pass.tube];
            conflicts.push_back({tube, tubes[tube].from, tubes[tube].to, pass.pass});
        }
    }
    std::sort(conflicts.begin(), conflicts.end(),
              [](const TubeConflict& a, const TubeConflict& b) { return a.tube < b.tube; });
    return conflicts;
}
