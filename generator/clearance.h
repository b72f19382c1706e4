// Clearance: support tubes that come too close to the track.
//
// The clearance envelope is a tube of radius R around the track's centre line
// (every segment with a curve, the closing segment of a closed track
// included). A support tube conflicts when some point of it comes closer than
// R to the centre line anywhere but on its structure's own stretch of track:
// the part within arc distance R + kOwnStretchMargin of the place where the
// structure hangs from the track. R of 0 (or less, or not a number) turns the
// check off: nothing conflicts.
//
// Why the margin is 6: a structure's own members hang at right angles to its
// track, so on level track the stretch within R of the hanging place already
// holds every track point within R of them. Slopes are what need more: a
// column hangs straight down from the strut's foot, up to 2.4 off the track on
// its downhill side, and the falling track passes by the column's upper part
// before it draws away; on a slope of angle a it stays within R of the column
// for an arc of about (R + 2.4 sin a) / cos a. A = R + 6 covers that up to
// about 50 degrees at R = 6 and 60 degrees at the default R = 1.5 (more with
// the usual shallower strut), which takes in the steep lift and drop of the
// demo track with room to spare (it needs a margin of 2 at R = 6); on steeper
// slopes a column does stand in its own track's way and is reported. Passes
// of the track under itself (a helix, a loop, a crossing) lie much further
// apart along the track than A.
//
// The centre line is sampled in pieces of even curve parameter, enough of them
// that the pieces stay within kSampleTolerance of the curve and no longer than
// kMaxPieceLength; distances are exact between a tube and these pieces, so
// they are those to the curve within kSampleTolerance (on a track long and
// winding enough to need more than four million pieces, the pieces are
// coarser). Arc positions are
// measured along the pieces, from the start of segment 0 through the segments
// in order, around the closing segment of a closed track; a piece counts as
// own stretch when any part of it lies within A of the hanging place.
#pragma once

#include <cstddef>
#include <vector>

#include "segmentGrid.h"
#include "strutWright.h"

constexpr float kDefaultClearanceRadius = 1.5f;
// The own stretch reaches this much further along the track than R.
constexpr float kOwnStretchMargin = 6.0f;
// How far the sampled centre line may stray from the curve.
constexpr float kSampleTolerance = 0.005f;
constexpr float kMaxPieceLength = 4.0f;

// Where a support comes closest to the centre line.
struct CentreLinePass {
    int segment = -1;      // the track segment it comes near, from 0
    float distance = 0;    // between the support and the centre line
    Point3D supportPoint;  // the support's point nearest the centre line
    Point3D trackPoint;    // the centre line's point nearest the support
};

// A tube of a list that comes within R, with its closest pass.
struct TubePass {
    size_t tube;  // index in the list that was checked
    CentreLinePass pass;
};

// The sampled centre line of a track, with a grid over its pieces and the arc
// position of each; a copy of what it needs, so the track may change after.
class CentreLine {
public:
    // The line of a track, for checks at clearance `radius`.
    CentreLine(const ZvTrack& track, float radius);

    // Arc position of the point at curve parameter t (clamped to 0..1) of a
    // segment; not a number for a segment without a curve.
    double arcAt(int segment, float t) const;
    // Arc position of the centre-line point nearest p; not a number when the
    // line is empty or p is not finite.
    double nearestArc(const Point3D& p) const;
    // Fills `passes` with each tube of the list that comes closer than the
    // radius to the line outside the stretch within radius +
    // kOwnStretchMargin of `ownArc`, with its closest pass, in list order.
    // Tubes with a non-finite end are left out; a radius of 0 or less finds
    // nothing. Reuses lists of its own, so one line serves one caller at a
    // time.
    void findPasses(const std::vector<TubeSegment>& tubes, double ownArc, std::vector<TubePass>* passes);

private:
    struct PieceArc {
        double start;  // arc position of the piece's first end
        float length;
        int segment;
    };
    struct SegmentPieces {
        size_t first = 0, count = 0;
    };

    bool inOwnStretch(const PieceArc& arc, double ownArc) const;

    std::vector<TubeSegment> pieces;  // in track order
    std::vector<PieceArc> arcs;       // per piece
    std::vector<SegmentPieces> segments;
    double totalLength = 0;
    bool closed = false;
    float radius;
    double ownReach;  // radius + kOwnStretchMargin
    SegmentGrid grid;
    // findPasses: the pieces near the structure and their boxes, and the
    // last search that took each piece.
    std::vector<uint32_t> near;
    std::vector<Box> nearBoxes;
    std::vector<uint32_t> lastSearch;
    uint32_t search = 0;
};

// A structure of a generation run that comes within R of the track.
struct StructureConflict {
    BuiltStructure structure;  // the marker it stands for and its tubes
    size_t closestTube = 0;    // document index of the tube that comes closest
    CentreLinePass closest;    // where it does
    size_t tubesInConflict = 0;
};

// What the check of a generation run found.
struct BuiltClearance {
    std::vector<StructureConflict> structures;  // one per structure in conflict, in the order built
    std::vector<size_t> tubes;                  // document indices of every tube in conflict, ascending
};

// Checks the structures of a generation run (GenerationReport::structures)
// against the track they were built on, each hanging from its marker's place.
BuiltClearance checkBuiltStructures(const ZvTrack& track, const std::vector<BuiltStructure>& structures,
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
// A structure hangs from the track point nearest its highest tube end. Tubes
// with an end that names no node are not checked. One record per tube in
// conflict, by tube index.
constexpr float kJoinTolerance = 0.01f;
std::vector<TubeConflict> checkTrackClearance(const ZvTrack& track,
                                              float radius = kDefaultClearanceRadius);
