// A synthetic circuit for timing the generator and the renderer.
//
//   syntheticTrack(markers)  a closed circuit of roughly markers / 4 segments on
//                            a wide loop (laps overlap once the loop is full),
//                            with hills between heights 5 and 40 and banked
//                            curves; four markers per segment (the last segment
//                            takes the remainder) at 0.125, 0.375, 0.625 and
//                            0.875 of it, their types cycling through 2, 3, 6
//                            and 7. Every fifth segment mirrors its braced legs,
//                            every third leaves out the extra diagonal, every
//                            seventh carries tie height 4 and brace angle 20.
//                            Coaster style 0. Same count, same track.
//   fixedDensityTrack(markers)  the same segments, colours and markers on one
//                            lap whose circumference grows with the markers:
//                            the track never passes over itself, so what lies
//                            near any point stays the same at every size.
//   stripMarkers(track)      removes every marker.
#pragma once

#include "zvtrack.h"

ZvTrack syntheticTrack(int markers);
ZvTrack fixedDensityTrack(int markers);
void stripMarkers(ZvTrack* track);
