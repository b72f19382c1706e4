// Automatic marker placement: markers along a whole track, so that its
// supports can be generated without placing them by hand.
//
// placeMarkers puts candidate places every `spacing` (D) along the track's arc
// length, measured from the start of segment 0 through the segments in order
// and around the closing segment of a closed track, the first at D/2. A
// candidate on a segment that has markers of its own, that has no curve or no
// marker list, is skipped: the author's markers stay exactly as they are.
// Each marker's position is the curve parameter t found from the arc length
// along the flat pieces of the renderer's length walk (arcPieces, one table
// per segment) at kPlacementTolerance; within a flat piece the arc is the
// distance from its start, and t is found there by bisection, so a curve that
// runs unevenly along a straight piece still gets its markers evenly.
//
// The node type follows the track at the place: a crossbeam (6) where it is
// banked by kCrossbeamBank degrees or more either way (overturned included),
// else a braced leg (7) where the braced leg would get its tie section (track
// at least 2h + 2.9 above the ground, h the segment's tie height), else a
// column (2); no marker where the track is less than kLowestMarker above the
// ground. A marker whose structure would fail the clearance check at the
// default radius moves along its segment in steps of D/10, forward and back
// by turns, up to D/2, to the first place that passes (with the type it has
// there, and past the marker placed before it on the segment); when none
// does, it is left out. Segment colours are never changed. Tracks longer than
// 10^6 spacings are placed that far. Placing on a
// track placed before adds nothing to the segments that got markers.
#pragma once

#include <string>
#include <vector>

#include "strutWright.h"

constexpr float kDefaultMarkerSpacing = 8.0f;
// Spacings below this (or not a number) place nothing.
constexpr float kMinimumMarkerSpacing = 1.0f;
// No marker where the track runs lower: a shorter column would end
// underground at its collar.
constexpr float kLowestMarker = 4.0f;
constexpr float kCrossbeamBank = 30.0f;  // degrees
// A blocked marker moves by spacing / kMoveDivisions, up to half the spacing.
constexpr int kMoveDivisions = 10;
// Flatness tolerance of the arc-length tables: about five pieces per segment
// of a gentle curve. The renderer's 1e-6 lies below float rounding once
// coordinates run into the tens of thousands, where its walk splits every
// segment down to a few float steps (some 400 pieces instead of 5); t does
// not suffer from the coarser pieces, being found by bisection within them.
constexpr float kPlacementTolerance = 1.0e-5f;

struct PlacedMarker {
    int segment = 0;     // from 0
    float position = 0;  // curve parameter
    int nodeType = 0;
};

struct MovedMarker {
    int segment = 0;
    float from = 0, to = 0;  // curve parameters: the candidate place and where it went
    int nodeType = 0;        // the type at its new place
};

struct LeftOutMarker {
    int segment = 0;
    float position = 0;  // the candidate place
};

// What a placement did.
struct PlacementReport {
    int columns = 0;     // markers placed, by type: 2
    int bracedLegs = 0;  // 7
    int crossbeams = 0;  // 6
    std::vector<PlacedMarker> placed;    // every marker added, in track order
    std::vector<MovedMarker> moved;      // those that had to move
    std::vector<LeftOutMarker> leftOut;  // candidates no place near them would take
    int tooLow = 0;                      // candidates where the track runs below kLowestMarker
};

// What placing on a track that already holds `tubes` support tubes does:
// "already holds 210 support tubes: the placed markers get a second set of
// supports beside them".
std::string supportedTrackWarning(int tubes);

// Adds the markers to the track; see above.
PlacementReport placeMarkers(ZvTrack* track, float spacing = kDefaultMarkerSpacing);

// What a placement at `spacing` did, as lines for the user (no prefix):
//   markers placed every 8: 30 columns, 20 braced legs, 7 crossbeams
//     moved: 2 (their supports would have come within 1.5 of the track)
//     left out: segment 3 at 0.50 (no place within 4 keeps its supports clear of the track)
//     too low: 4 places (the track runs below 4 there)
// with one "left out" line per marker left out; lines with nothing to tell
// are left out.
std::vector<std::string> placementSummary(const PlacementReport& report, float spacing);
