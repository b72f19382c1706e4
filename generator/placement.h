// Automatic marker placement: markers along a whole track, so that its
// supports can be generated without placing them by hand (the rules and why:
// docs/design.md).
//
//   placeMarkers  adds a marker every `spacing` (D) along the arc on the
//                 segments that have a curve and no markers of their own, of
//                 the type the track calls for there (column, braced leg or
//                 crossbeam), none where the track runs below kLowestMarker;
//                 a marker whose supports would come too close to the track
//                 moves up to D/2 along its segment, or is left out. Spacings
//                 below kMinimumMarkerSpacing place nothing; placing on a
//                 track placed before adds nothing to the segments that got
//                 markers.
//   placementSummary  what a placement did, in lines for the user.
#pragma once

#include <string>
#include <vector>

#include "reportLines.h"
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

// The kind of the lines of markers left out.
constexpr const char* kLeftOutLines = "left out";

// What a placement at `spacing` did, as lines for the user (no prefix):
//   markers placed every 8: 30 columns, 20 braced legs, 7 crossbeams
//     moved: 2 (their supports would have come within 1.5 of the track)
//     left out: segment 3 at 0.50 (no place within 4 keeps its supports clear of the track)
//     too low: 4 places (the track runs below 4 there)
// with one "left out" line per marker left out, of the kind kLeftOutLines
// (the others have none); lines with nothing to tell are left out.
std::vector<ReportLine> placementSummary(const PlacementReport& report, float spacing);
