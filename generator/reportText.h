// Words for the reports the programs show: counts of things by kind, and numbers.
//
//   listOf       "13 columns, 2 struts only": each tally with a count above 0, in
//                the order given, singular or plural; "none" when all are 0.
//   fixed        a number with `decimals` (0 to 9) decimals, halves rounded
//                away from zero, never "-0.00".
//   shortNumber  a number as briefly as it reads: 8, 1.5, 0.25.
//   pointText    "(31.2, 6.0, -8.4)": a point with `decimals` decimals.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

#include "zvtrack.h"

struct Tally {
    size_t count;
    const char* singular;
    const char* plural;
};

std::string listOf(std::initializer_list<Tally> tallies);
std::string fixed(double value, int decimals);
std::string shortNumber(double value);
std::string pointText(const Point3D& point, int decimals);
