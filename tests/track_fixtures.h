// Documents and byte helpers for tests of track files.
//
//   fillEveryChunk  fills every field of every chunk with distinct values a
//                   file can hold (flags 0 or 1, colour components as loaded):
//                   TRCK entries with texts, beziers, segments of types 0 to 4
//                   and one of an unknown type, all support collections, CATW
//                   data, SCEN and SCOB records, a 37 x 23 terrain, ENVC texts.
//                   The author comments are owned by the document.
//   saveToBytes     what ZvWrite puts out for a document.
//   captureWrites   the bytes a function writes to a stdio stream.
//   findKey         offset of four letters in a byte image, or npos.
//   terrainChunk    a whole TERA chunk of the given size (heights row * 1000 +
//                   column; none when the size is outside the grid).
//   ByteBuilder     big-endian bytes written by hand, for expected and hostile files.
//   Folder          a scratch folder under /tmp, removed with everything in it;
//                   entries() lists its names.
//   contents, writeText  a whole file's bytes, read or written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "track.h"

namespace fixture {

using Bytes = std::vector<unsigned char>;
constexpr size_t npos = static_cast<size_t>(-1);

constexpr int kTerrainColumns = 37;
constexpr int kTerrainRows = 23;

void fillEveryChunk(ZvTrack* track);
Bytes captureWrites(const std::function<void(FILE*)>& write);
Bytes saveToBytes(const ZvTrack& track);
size_t findKey(const Bytes& bytes, const char* letters, size_t from = 0);
Bytes terrainChunk(int columns, int rows);

class ByteBuilder {
public:
    ByteBuilder& key(const char* letters);   // four letters
    ByteBuilder& integer(int32_t value);     // Int
    ByteBuilder& real(float value);          // Float
    ByteBuilder& octet(uint8_t value);       // one byte
    ByteBuilder& zeros(size_t count);        // Null run
    ByteBuilder& text(const std::string& value);  // String
    ByteBuilder& append(const Bytes& more);
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

class Folder {
public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::set<std::string> entries() const;

private:
    std::string path_;
};

std::string contents(const std::string& path);
void writeText(const std::string& path, const std::string& text);

}  // namespace fixture
