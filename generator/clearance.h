// Clearance: support tubes that come too close to the track.
//
// The envelope is a tube of radius R around the sampled centre line (every
// segment with a curve, the closing segment of a closed track included). A
// support tube conflicts when some point of it comes closer than R to the
// centre line anywhere but on its structure's own stretch of track: the part
// within arc distance R + kOwnStretchMargin of the place where the structure
// hangs. R of 0 (or less, or not a number) turns the check off. Distances are
// exact between a tube and the line's pieces, so they are those to the curve
// within kSampleTolerance. docs/design.md explains the margin.
//
// A structure needs one conflict to be reported, and a place one to be
// refused: the search goes down from the track and stops at the first. The
// line's pieces near a structure's members, off its own stretch, are met
// from the top down by the height of their highest point. The first of them
// that comes within R of a member (the lower index of two as high) is where
// the structure first meets the track going down. The structure's conflict
// is the pass of the track through that piece: the pieces next to it along
// the line, both ways, for as long as each comes within R of a member off the
// own stretch (up to kMostPassPieces each way: track that runs along a
// column); of those pairs of member and piece, the one that comes closest is
// reported (ties: the lower piece index, then the earlier member). The work
// grows with what lies near the structure down to its first conflict, not
// with every turn of track it stands over.
//
//   CentreLine            the sampled line with a grid over its pieces.
//   checkBuiltStructures  the structures of a generation run, each hanging
//                         from its marker's place.
//   checkTrackClearance   every support tube of a track, whatever made it,
//                         rebuilt into structures (see below).
#pragma once

#include <cstddef>
#include <vector>

#include "centreLine.h"
#include "segmentGrid.h"
#include "strutWright.h"
#include "tube.h"

constexpr float kDefaultClearanceRadius = 1.5f;
// The own stretch reaches this much further along the track than R.
constexpr float kOwnStretchMargin = 6.0f;
// How far the sampled centre line may stray from the curve.
constexpr float kSampleTolerance = 0.005f;
constexpr float kMaxPieceLength = 4.0f;
// A pass of the track by a structure is followed this many pieces each way
// at most.
constexpr size_t kMostPassPieces = 64;

// Where a support comes closest to the centre line.
struct CentreLinePass {
    int segment = -1;      // the track segment it comes near, from 0
    float distance = 0;    // between the support and the centre line
    Point3D supportPoint;  // the support's point nearest the centre line
    Point3D trackPoint;    // the centre line's point nearest the support
};

// A tube of a structure that comes within R, and where.
struct TubePass {
    size_t tube = 0;  // its place among the tubes that were checked
    CentreLinePass pass;
};

// The sampled centre line of a track, with a grid over its pieces; a copy of
// what it needs, so the track may change after.
class CentreLine {
public:
    // The line of a track, for checks at clearance `radius`.
    CentreLine(const ZvTrack& track, float radius);

    // Arc position of the point at curve parameter t of a segment (see
    // SampledCentreLine::arcAt).
    double arcAt(int segment, float t) const { return line.arcAt(segment, t); }
    // Arc position of the centre-line point nearest p; not a number when the
    // line is empty or p is not finite.
    double nearestArc(const Point3D& p) const;
    // The first conflict, going down from the track (see above), of the
    // structure of tubes [first, last) hanging at `ownArc`: false when none
    // comes within the radius outside the stretch within radius +
    // kOwnStretchMargin of `ownArc`. Tubes with a non-finite end are left
    // out; a radius of 0 or less finds nothing. Reuses a list of its own, so
    // one line serves one caller at a time.
    bool firstConflict(const BuiltTube* first, const BuiltTube* last, double ownArc, TubePass* found);
    // Whether the structure has a conflict at all: the search stops at the
    // first piece it finds within the radius.
    bool anyConflict(const BuiltTube* first, const BuiltTube* last, double ownArc);

private:
    // Where a search stands in the run of one grid cell.
    struct Cursor {
        const SegmentGrid::Entry* next;
        const SegmentGrid::Entry* end;
    };
    // A member and a piece, and how close they come.
    struct Pair {
        Closest closest;
        uint32_t piece;
        size_t tube;
    };
    // The tubes of the structure being checked.
    struct Structure {
        const BuiltTube* first;
        const BuiltTube* last;
        double ownArc;
    };

    bool firstPieceMet(const Structure& structure, bool stopAtAny, uint32_t* piece);
    bool reachOf(const Structure& structure);
    bool withinReach(uint32_t piece, const Structure& structure) const;
    bool closestMember(uint32_t piece, const Structure& structure, Pair* pair) const;
    Pair closestInPass(uint32_t piece, const Structure& structure) const;
    bool inOwnStretch(const SampledCentreLine::PieceArc& arc, double ownArc) const;

    SampledCentreLine line;
    float radius;
    double ownReach;  // radius + kOwnStretchMargin
    SegmentGrid grid;
    // The search of one structure: the box of its tubes grown by the
    // radius, and a cursor per grid cell under it.
    Box structureReach{};
    std::vector<Cursor> cursors;
};

// A structure of a generation run that comes within R of the track, with its
// first conflict going down.
struct StructureConflict {
    BuiltStructure structure;  // the marker it stands for
    BuiltTube member;          // the member of the first conflict
    CentreLinePass pass;       // where it comes closest to the track there
};

// What the check of a generation run found.
struct BuiltClearance {
    std::vector<StructureConflict> structures;  // one per structure in conflict, in the order built
    TubeList tubes;                             // the member of each, in the same order
};

// Checks the structures of a generation run against the track they were
// built on, each hanging from its marker's place.
BuiltClearance checkBuiltStructures(const ZvTrack& track, const GenerationReport& report,
                                    float radius = kDefaultClearanceRadius);

// A support tube of a track file that comes within R of the track.
struct TubeConflict {
    size_t tube = 0;     // index in the document's tube array
    Point3D end1, end2;  // where its two ends are
    CentreLinePass pass;
};

// Checks every support tube of a track, whatever made it. Tubes are joined
// into structures where they share a free node or a marker (same index), and
// where a free-node end of one lies on the other (within kJoinTolerance):
// generated structures give each member nodes of its own, but every member
// starts or ends on the member it hangs from. Foundation nodes join nothing.
// An end that lies on more than kMaxJoinsPerEnd tubes (columns stacked on
// one line, as under a helix) joins the first of them found, in the grid's
// order from the top down: those are joined to the rest through their own
// ends. A structure hangs from the track point nearest its highest tube end;
// a marker end stands at its position as a curve parameter. Tubes with an
// end that names no node are not checked. One record per structure in
// conflict, for the tube of its first conflict, by tube index.
constexpr float kJoinTolerance = 0.01f;
constexpr int kMaxJoinsPerEnd = 4;
std::vector<TubeConflict> checkTrackClearance(const ZvTrack& track,
                                              float radius = kDefaultClearanceRadius);
