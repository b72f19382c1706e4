// What `zvtrack clearance` reports: support tubes of a track, whatever made
// them, that come within `radius` of its centre line (checkTrackClearance),
// one line each, by tube index:
//
//   tubeArray[12]: (0.00, 18.70, 0.00) to (0.00, 0.00, 0.00) passes 0.00 from segment 2 at (0.00, 5.00, 0.00)
//
// the tube's two ends, the segment it comes nearest (from 0), how close, and
// the tube's point nearest the track. Empty when none does or the radius is 0.
#pragma once

#include <string>
#include <vector>

#include "zvtrack.h"

std::vector<std::string> clearanceFindings(const ZvTrack& track, float radius);
