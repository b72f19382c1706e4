// Saving a .zvtrack file: every chunk in the saver's order, encoded into a
// fixed block of memory that goes to the stream whenever it is full, so the
// save costs little more than the bytes it writes and holds one block at most.
// The size of the file is worked out from the document first, by the same walk
// over the chunks, so a track too large for the format is refused before a
// byte is written. ZvSave hands the writing to writeFileSafely.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "info.h"
#include "libzvtrack.h"
#include "safeOutput.h"
#include "zvbytes.h"
#include "zvlayout.h"

namespace {

// Small enough to stay in the processor's cache between encoding and writing
// and to cost few fresh pages; large enough that each write is worth its call.
constexpr size_t kBlockSize = size_t{128} << 10;

// The saver's order, with the nested count written after each chunk's body.
struct SavedChunk {
    int key;
    int nestedCount;
};
constexpr SavedChunk kTrackChunks[] = {
    {kKeyZORV, 4}, {kKeyTRCK, 4}, {kKeyINFO, 0}, {kKeyBEZR, 0}, {kKeySEGM, 0},
    {kKeySUPP, 5}, {kKeyFUND, 0}, {kKeyRASC, 0}, {kKeyFREN, 0}, {kKeyTUBE, 0},
    {kKeyCATW, 0}, {kKeySCEN, 1}, {kKeySCOB, 0},
};
constexpr SavedChunk kTerrainChunk = {kKeyTERA, 0};
constexpr SavedChunk kEnvironmentChunk = {kKeyENVC, 0};

// "CSTM" (length 14, nested count 1) holding "vrtx" (length 8, body 0, nested
// count 0): written as they are, always, before ENVC.
constexpr unsigned char kCustomChunks[] = {
    0x43, 0x53, 0x54, 0x4D, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x01, 0x76, 0x72,
    0x74, 0x78, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

// Writes document fields for the layout functions into a block of memory that
// goes to the stream whenever it is full. The first problem is kept.
class ChunkWriter : public zvlayout::Unnamed {
public:
    explicit ChunkWriter(FILE* stream) : stream_(stream), block_(new char[kBlockSize]) {}

    bool failed() const { return !problem_.empty(); }
    const std::string& problem() const { return problem_; }
    void fail(const std::string& problem) {
        if (!failed()) problem_ = problem;
    }

    void raw(const void* bytes, size_t count) {
        if (count == 0) return;  // an empty text or blob may have no bytes at all
        const char* from = static_cast<const char*>(bytes);
        put(count, [from](char* to, size_t done, size_t part) { std::memcpy(to, from + done, part); });
    }
    void byte(const char*, int8_t value) { *room(1) = static_cast<unsigned char>(value); }
    void boolean(const char*, int value) { *room(1) = zvbytes::encodeBool(value); }
    void integer(const char*, int value) { word(value); }
    void real(const char*, float value) { zvbytes::encodeFloat(value, room(4)); }
    void color(const char*, const Color& value) { zvbytes::encodeColor(value, room(4)); }
    void nulls(size_t count) {
        put(count, [](char* to, size_t, size_t part) { std::memset(to, 0, part); });
    }
    void key(int code) { raw(keyName(code), 4); }
    void nestedCount(int count) { word(count); }

    void text(const char*, const std::string& value) { sized(value.data(), value.size()); }
    void blob(const char*, const std::vector<char>& data) { sized(data.data(), data.size()); }

    // Every count and length fits an Int: the file size was checked first.
    template <class T>
    void count(const std::vector<T>& records, size_t, const char*) {
        word(static_cast<int>(records.size()));
    }

    // Each record's room is taken at once; its fields then go straight in.
    template <class Layout, class Record>
    void records(const char*, const std::vector<Record>& list, Layout, const char* noun) {
        count(list, Layout::kSize, noun);
        for (const Record& record : list) {
            zvlayout::FieldEncoder fields(room(Layout::kSize));
            Layout::fields(fields, record);
        }
    }

    // Owned comments may hold any bytes, a NUL among them: write them whole.
    void authorComments(const char*, const ZvTrack& track) {
        const std::string comments = authorCommentsText(&track);
        sized(comments.data(), comments.size());
    }

    void checkTerrainSize(const ZvTrack& track) {
        if (!zvlayout::terrainFitsGrid(track)) {
            fail("terrain of " + std::to_string(track.terrainColumns) + " columns by " +
                 std::to_string(track.terrainRows) + " rows exceeds the grid");
        }
    }

    void terrainGrid(const char*, const ZvTrack& track) {
        if (failed()) return;
        for (int row = 0; row < track.terrainRows; ++row) {
            for (int column = 0; column < track.terrainColumns; ++column) {
                real(zvlayout::kElement, terrainHeight(&track, row, column));
            }
        }
    }

    // Hands the block to the stream; true when the stream took all of it.
    bool flush() {
        if (used_ > 0 && fwrite(block_.get(), 1, used_, stream_) != used_) {
            fail(std::string("write failed: ") + std::strerror(errno));
        }
        used_ = 0;
        return !failed();
    }

private:
    // Room for `count` (at most kBlockSize) bytes of one value at the end of
    // the block; a block without that room goes to the stream first.
    unsigned char* room(size_t count) {
        if (kBlockSize - used_ < count) flush();
        unsigned char* at = reinterpret_cast<unsigned char*>(block_.get()) + used_;
        used_ += count;
        return at;
    }

    // Puts `count` bytes into the block, handing each full block to the stream;
    // fillPart(to, done, part) writes bytes done..done + part - 1 at `to`.
    template <class FillPart>
    void put(size_t count, FillPart fillPart) {
        size_t done = 0;
        while (count - done > kBlockSize - used_) {
            const size_t part = kBlockSize - used_;
            fillPart(block_.get() + used_, done, part);
            used_ = kBlockSize;
            flush();
            done += part;
        }
        fillPart(block_.get() + used_, done, count - done);
        used_ += count - done;
    }

    void word(int value) { zvbytes::encodeInt(value, room(4)); }

    // An Int length, then the bytes.
    void sized(const char* bytes, size_t size) {
        word(static_cast<int>(size));
        raw(bytes, size);
    }

    FILE* stream_;
    std::unique_ptr<char[]> block_;
    size_t used_ = 0;
    std::string problem_;
};

// Counts the bytes the writer would put out, by the same walk over the layout.
class SizeCounter : public zvlayout::Unnamed {
public:
    uint64_t bytes() const { return bytes_; }

    void raw(const void*, size_t count) { bytes_ += count; }
    void byte(const char*, int8_t) { bytes_ += 1; }
    void boolean(const char*, int) { bytes_ += 1; }
    void integer(const char*, int) { bytes_ += zvlayout::kIntSize; }
    void real(const char*, float) { bytes_ += zvlayout::kIntSize; }
    void color(const char*, const Color&) { bytes_ += zvlayout::kIntSize; }
    void nulls(size_t count) { bytes_ += count; }
    void key(int) { bytes_ += zvlayout::kIntSize; }
    void nestedCount(int) { bytes_ += zvlayout::kIntSize; }
    void text(const char*, const std::string& value) { bytes_ += zvlayout::kIntSize + value.size(); }
    void blob(const char*, const std::vector<char>& data) { bytes_ += zvlayout::kIntSize + data.size(); }
    template <class T>
    void count(const std::vector<T>&, size_t, const char*) {
        bytes_ += zvlayout::kIntSize;
    }
    template <class Layout, class Record>
    void records(const char*, const std::vector<Record>& list, Layout, const char*) {
        bytes_ += zvlayout::kIntSize + uint64_t{list.size()} * Layout::kSize;
    }
    void authorComments(const char* name, const ZvTrack& track) { text(name, authorCommentsText(&track)); }
    void checkTerrainSize(const ZvTrack&) {}
    // A terrain outside the grid is refused by the writer; it counts as empty.
    void terrainGrid(const char*, const ZvTrack& track) {
        if (track.terrainRows < 0 || track.terrainColumns < 0) return;
        bytes_ += uint64_t{static_cast<unsigned>(track.terrainRows)} *
                  static_cast<unsigned>(track.terrainColumns) * zvlayout::kIntSize;
    }

private:
    uint64_t bytes_ = 0;
};

// One chunk: key, body, and the nested count the saver writes for it.
template <class Out>
void putChunk(Out& out, SavedChunk chunk, const ZvTrack& track) {
    out.key(chunk.key);
    zvlayout::body(chunk.key, out, track);
    out.nestedCount(chunk.nestedCount);
}

// Every chunk in the saver's order, to a writer or a counter.
template <class Out>
void putChunks(Out& out, const ZvTrack& track) {
    for (SavedChunk chunk : kTrackChunks) putChunk(out, chunk, track);
    if (track.hasTerrain == 1) putChunk(out, kTerrainChunk, track);
    out.raw(kCustomChunks, sizeof kCustomChunks);
    putChunk(out, kEnvironmentChunk, track);
}

// Writes the whole document; returns "" or the first problem met.
std::string writeTrack(FILE* stream, const ZvTrack& track) {
    const uint64_t size = ZvFileSize(&track);
    if (size > kZvMaxFileSize) {
        return "the track would take " + std::to_string(size) + " bytes, more than the " +
               std::to_string(kZvMaxFileSize) + " a track file can hold";
    }
    ChunkWriter writer(stream);
    putChunks(writer, track);
    if (writer.flush() && fflush(stream) != 0) {
        writer.fail(std::string("write failed: ") + std::strerror(errno));
    }
    if (!writer.failed() && ferror(stream)) writer.fail("write failed");
    return writer.problem();
}

}  // namespace

uint64_t ZvFileSize(const ZvTrack* track) {
    SizeCounter counter;
    putChunks(counter, *track);
    return counter.bytes();
}

int ZvWrite(FILE* stream, const ZvTrack* track) {
    return writeTrack(stream, *track).empty() ? 1 : 0;
}

int ZvSaveMemory(const ZvTrack* track, std::vector<unsigned char>* bytes) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    if (!stream) return 0;
    const bool written = writeTrack(stream, *track).empty();
    const bool closed = fclose(stream) == 0;
    if (written && closed) bytes->assign(buffer, buffer + size);
    free(buffer);
    return written && closed ? 1 : 0;
}

int ZvSave(const char* path, ZvTrack* track, std::string* error) {
    // The writer hands over whole blocks of its own; a stdio buffer would only
    // copy them once more.
    auto write = [track](FILE* stream) {
        setvbuf(stream, nullptr, _IONBF, 0);
        return writeTrack(stream, *track);
    };
    std::string problem = writeFileSafely(path ? path : "", write);
    if (!problem.empty() && error) *error = path && *path ? std::string(path) + ": " + problem : problem;
    return problem.empty() ? 1 : 0;
}
