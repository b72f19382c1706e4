// Automatic marker placement: markers along a whole track, so that its
// supports can be generated without placing them by hand (the rules and why:
// docs/design.md).
//
//   placeMarkers  adds a marker every `spacing` (D) along the arc on the
//                 segments that have a curve and no markers of their own, of
//                 the type the track calls for there (column, braced leg or
//                 crossbeam), none where the track runs below kLowestMarker;
//                 a marker whose supports would come too close to the track
//                 moves up to D/2 along its segment (at most kMoveDivisions +
//                 1 places tried), or is left out. Placing stops at
//                 kMaxPlacedMarkers markers placed, or after kMaxPlaces
//                 places looked at, and tells where. Spacings below
//                 kMinimumMarkerSpacing place nothing; placing on a track
//                 placed before adds nothing to the segments that got
//                 markers.
//   placementSummary  what a placement did, in lines for the user.
#pragma once

#include <cstdint>
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
// Placing stops when it has placed this many markers (some 1.6 GB of file
// once generated as braced legs), or looked at this many places, placed or
// not: each costs up to kMoveDivisions + 1 structures planned and checked.
constexpr long kMaxPlacedMarkers = 1000000;
constexpr long kMaxPlaces = 2 * kMaxPlacedMarkers;
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

// Why no place near a candidate took its marker: of the places tried, one
// (at least) would have had supports too close to the track; else one had a
// bank that is not a number; else every structure would not be finite.
enum class LeftOutReason : uint8_t { kNotClear, kNoFiniteBanking, kNotFinite };

struct LeftOutMarker {
    int segment = 0;
    float position = 0;  // the candidate place
    LeftOutReason reason = LeftOutReason::kNotClear;
};

// How far placing goes (tests set smaller limits).
struct PlacementLimits {
    long markers = kMaxPlacedMarkers;
    long places = kMaxPlaces;
};

// Where placing stopped at one of its limits.
enum class PlacementLimit : uint8_t { kNone, kMarkers, kPlaces };
struct PlacementStop {
    PlacementLimit limit = PlacementLimit::kNone;
    long count = 0;      // the limit: markers placed or places looked at
    int segment = 0;     // the first candidate not looked at: its segment,
    float position = 0;  // curve parameter,
    double arc = 0;      // and arc length from the start of segment 0
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
    long places = 0;                     // candidates looked at: placed, left out or too low
    int curvedSegments = 0;              // segments with a curve
    int bareSegments = 0;                // of them, those without markers: the ones that take markers
    PlacementStop stop;
};

// What placing on a track that already holds `tubes` support tubes does:
// "already holds 210 support tubes: the placed markers get a second set of
// supports beside them".
std::string supportedTrackWarning(int tubes);

// Adds the markers to the track; see above.
PlacementReport placeMarkers(ZvTrack* track, float spacing = kDefaultMarkerSpacing,
                             const PlacementLimits& limits = PlacementLimits{});

// The kind of the lines of markers left out.
constexpr const char* kLeftOutLines = "left out";

// What a placement at `spacing` did, as lines for the user (no prefix):
//   markers placed every 8: 30 columns, 20 braced legs, 7 crossbeams
//     moved: 2 (their supports would have come within 1.5 of the track)
//     left out: segment 3 at 0.50 (no place within 4 keeps its supports clear of the track)
//     left out: segment 5 at 0.25 (the track's bank is not a number there)
//     left out: segment 6 at 0.75 (its supports would not be finite numbers)
//     too low: 4 places (the track runs below 4 there)
//     stopped: segment 0 at 0.94, 8000004 along the track (placing stops at 1000000 markers)
//     stopped: segment 0 at 0.50, 16000004 along the track (placing stops after 2000000 places)
// with one "left out" line per marker left out, of the kind kLeftOutLines
// (the others have none); lines with nothing to tell are left out. When nothing is placed, the first line says why where one
// reason covers it: "none (every segment with a curve has markers of its
// own)", "none (the track has no segment with a curve)", "none (no place
// every 8 along the track, the first at 4, falls on a segment without
// markers)", "none (every place is lower than 4)".
std::vector<ReportLine> placementSummary(const PlacementReport& report, float spacing);
