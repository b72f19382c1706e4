// Angles: pi, the degree conversions and how the track's roll is read.
//
//   bankDegrees  the size of a roll (radians, either way) in degrees, folded
//                into one turn: 0 up to but not including 360. A track rolled
//                370 degrees is read as one rolled 10, so every rule that
//                clamps the bank (the connector strut's lift, the column's
//                rise, the crossbeam's arms, placement's choice of marker)
//                sees the same angle. Below 360 the value is exactly the
//                unfolded one.
#pragma once

#include <cmath>

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2 * kPi;
// Degrees per radian as the generator turns the bank and the brace angle.
constexpr double kDegreesPerRadian = 57.29577951;
// Radians per degree as the camera and the view turn their angles.
constexpr double kRadiansPerDegree = kPi / 180.0;
// A quarter turn in single precision, by which the node frame turns the bank.
constexpr float kQuarterTurn = 1.5707964f;

// Turns in degrees, in single precision as the generator's clamps use them.
constexpr float kQuarterTurnDegrees = 90.0f;
constexpr float kHalfTurnDegrees = 180.0f;
constexpr float kThreeQuarterTurnDegrees = 270.0f;
constexpr float kFullTurnDegrees = 360.0f;

inline float bankDegrees(float bank) {
    return static_cast<float>(std::fmod(std::fabs(bank) * kDegreesPerRadian, kFullTurnDegrees));
}
