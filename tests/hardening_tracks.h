// Track documents for the hardening tests and the fuzz seed corpus.
//
//   randomDocument     fills every chunk of a document with random values as a
//                      file could hold them (any bytes, any float bit pattern,
//                      texts with any byte but NUL in the author comments).
//   randomMarkedTrack  a sound track built through the editing operations:
//                      coordinates within +-10,000, one segment per bezier pair
//                      (plus the closing one), random colours, banking and
//                      markers of every node type on every segment.
#pragma once

#include <random>

#include "track.h"
#include "track_fixtures.h"

using fixture::Bytes;

// Shapes of the random tracks the generator is tried on.
enum class TrackShape {
    kOpen,         // an open chain of curved segments
    kClosed,       // the same, closed back to bezier 0
    kDegenerate,   // zero-length segments, vertical segments, coincident control points
};

ZvTrack randomDocument(std::mt19937& rng);
ZvTrack randomMarkedTrack(std::mt19937& rng, TrackShape shape);
