// Tracks and checks for the geometry and support generator tests.
//
//   straightTrack     a new track with one straight segment from `start` to
//                     `end`, control points at the thirds, both beziers rolled
//                     by `roll`; colours: not mirrored, extra diagonal, default
//                     tie height and brace angle (colour bytes 255).
//   addStraightBezier appends a bezier at `position` whose handles lie on the
//                     line to its neighbours' thirds, and a segment ending there.
//   crossingTrack     an open track whose segment 0 runs along x at height 20
//                     from x = -44 to 44, crossing 15 above segment 2, which
//                     runs along z at height 5 from z = -60 to 60 at x =
//                     `aside` (segment 1 joins their ends); the crossing lies
//                     at the middle of both.
//   twoLevelCrossing  the crossing track at 0 aside with a middle straight
//                     (segment 2) along z at height 12, 1 beside the crossing
//                     point, between the upper straight (segment 0) and the
//                     lower (segment 4, at height 5 through the crossing
//                     point); segments 1 and 3 join their ends far from it.
//   setColors         replaces the three colours of zero-based segment s.
//   runType1          one generation pass over the track; returns the record.
//   runMake           Make with the driver's defaults; its stdout and warnings.
//   endProblems       every tube end that names no existing node, as text.
//   nonFiniteValues   every non-finite coordinate or angle, as text.
#pragma once

#include <string>
#include <vector>

#include "strutWright.h"
#include "track.h"

namespace genfix {

ZvTrack straightTrack(Point3D start, Point3D end, float roll = 0.0f, int coasterStyle = 0);
void addStraightBezier(ZvTrack* track, Point3D position, float roll = 0.0f);
ZvTrack crossingTrack(float aside);
ZvTrack twoLevelCrossing();
void setColors(ZvTrack* track, int s, Color color1, Color color2, Color color3);

Supports runType1(ZvTrack* track);

struct MakeRun {
    Supports supports;
    std::string out;       // what Make printed
    std::string warnings;  // the report's warnings, one line each
    GenerationReport report;
};
MakeRun runMake(ZvTrack* track);

// Opaque pure red and green as set in memory and as loaded from a file.
Color opaqueRed(bool loaded = false);
Color opaqueGreen(bool loaded = false);
// A colour whose red and blue bytes carry a tie height and a brace angle.
Color tieColor(int redByte, int blueByte);

std::vector<std::string> endProblems(const ZvTrack& track);
std::vector<std::string> nonFiniteValues(const ZvTrack& track);

}  // namespace genfix
