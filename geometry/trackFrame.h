// The frame of the track at a point of its centre line: where the generator
// hangs a structure from, and how the banked track is turned there.
//
//   trackFrameAt  the frame at curve parameter t of a segment (t not clamped):
//                 P, the point a little further on (t + 0.01) that gives the
//                 direction, the bank there (TrackCalc::GetBanking) and the
//                 directions below. A tangent that is vertical, or too short
//                 to tell from float rounding, has no side of its own: it
//                 takes that of a track heading along +z (heading 0).
//   roundingNoise differences of points near p this small are float
//                 rounding, not geometry: a few float steps at p's size.
#pragma once

#include "zvtrack.h"

struct TrackFrame {
    Point3D point;        // P: the centre line's point (cubicPoint at t)
    Point3D side;         // L: unit, horizontal, at right angles to the track
    Point3D normal;       // N: unit, at right angles to the track and upwards
    Point3D down;         // D: the banked track's down, L cos(b - 90) + N sin(b - 90)
    float heading = 0;    // radians in the ground plane: 0 along +z, pi/2 along +x
    float bank = 0;       // b: the roll in radians
    float bankDegrees = 0;  // its size in degrees, folded into one turn (angles.h)
};

TrackFrame trackFrameAt(int segment, float t, ZvTrack* track);
float roundingNoise(const Point3D& p);
