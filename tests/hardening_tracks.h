// Track documents for the hardening tests and the fuzz seed corpus.
//
//   randomDocument     fills every chunk of a document with random values as a
//                      file could hold them (any bytes, any float bit pattern,
//                      texts with any byte but NUL in the author comments).
//   randomMarkedTrack  a sound track built through the editing operations:
//                      coordinates within +-10,000, one segment per bezier pair
//                      (plus the closing one), random colours, banking and
//                      markers of every node type on every segment.
//   writeToBytes       what ZvWrite puts out for a document.
//   ByteWriter         big-endian bytes for hand-made (hostile) files.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "track.h"

using Bytes = std::vector<unsigned char>;

// Shapes of the random tracks the generator is tried on.
enum class TrackShape {
    kOpen,         // an open chain of curved segments
    kClosed,       // the same, closed back to bezier 0
    kDegenerate,   // zero-length segments, vertical segments, coincident control points
};

ZvTrack randomDocument(std::mt19937& rng);
ZvTrack randomMarkedTrack(std::mt19937& rng, TrackShape shape);
Bytes writeToBytes(const ZvTrack& track);

// Builds a byte image of a file field by field, big-endian like the format.
class ByteWriter {
public:
    ByteWriter& key(const char* letters);          // four letters
    ByteWriter& integer(int32_t value);            // Int
    ByteWriter& real(float value);                 // Float
    ByteWriter& zeros(size_t count);               // Null run
    ByteWriter& text(const std::string& value);    // String
    ByteWriter& padTo(size_t size);                // zeros up to `size` bytes
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};
