// Loading a .zvtrack file: read the whole file into memory, then scan it for
// chunk keys four bytes at a time and read each known chunk's fields into a
// copy of the document. The copy replaces the document only when every chunk
// was read whole, so a damaged file leaves the document as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "info.h"
#include "libzvtrack.h"
#include "zvbytes.h"
#include "zvlayout.h"

namespace {

constexpr size_t kFloatSize = 4;
constexpr size_t kReadBlock = size_t{1} << 20;

// Fills document fields from the stream for the layout functions. Every length
// and count is checked against the bytes the file has left before anything is
// allocated; the first problem is kept as the load's error.
class ChunkReader : public zvlayout::Unnamed {
public:
    explicit ChunkReader(ZvInStream* in) : in_(in) {}

    void beginChunk(int key, size_t offset) {
        key_ = key;
        offset_ = offset;
    }
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    size_t left() const { return in_->size - in_->pos; }

    void fail(const std::string& problem) {
        if (failed()) return;
        error_ = std::string("chunk \"") + keyName(key_) + "\" at byte " +
                 std::to_string(offset_) + ": " + problem;
    }

    // Fails when `length` units of `unitSize` bytes cannot come from what is left.
    bool fits(long long length, size_t unitSize, const std::string& what) {
        if (length < 0) {
            fail(what + " " + std::to_string(length) + " is negative");
            return false;
        }
        if (static_cast<unsigned long long>(length) > left() / unitSize) {
            fail(what + " " + std::to_string(length) + " does not fit in the " +
                 std::to_string(left()) + " bytes left");
            return false;
        }
        return true;
    }

    void byte(const char*, int8_t& value) { value = ReadByte(in_); }
    void boolean(const char*, int& value) { value = ReadBool(in_); }
    void integer(const char*, int& value) { value = ReadInt(in_); }
    void real(const char*, float& value) { value = ReadFloat(in_); }
    void color(const char*, Color& value) { value = ReadColor(in_); }
    void nulls(size_t count) { ReadNull(in_, static_cast<unsigned>(count)); }
    int nestedCount() { return ReadInt(in_); }

    void text(const char*, std::string& value) {
        int length = ReadInt(in_);
        value = fits(length, 1, "text length") ? ReadString(in_, length) : std::string();
    }

    template <class T>
    void count(std::vector<T>& records, size_t minRecordSize, const char* noun) {
        int count = ReadInt(in_);
        bool ok = fits(count, minRecordSize, std::string(noun) + " count");
        records = std::vector<T>(ok ? count : 0);
    }

    // The count stands only when all its records fit in what is left, so
    // their fields are decoded without a check each.
    template <class Layout, class Record>
    void records(const char*, std::vector<Record>& list, Layout, const char* noun) {
        count(list, Layout::kSize, noun);
        zvlayout::FieldDecoder fields(in_->bytes + in_->pos);
        for (Record& record : list) Layout::fields(fields, record);
        in_->pos += list.size() * Layout::kSize;
    }

    void blob(const char*, std::vector<char>& data) {
        int length = ReadInt(in_);
        data = fits(length, 1, "data length") ? ReadBytes(in_, length) : std::vector<char>();
    }

    void authorComments(const char* name, ZvTrack& track) {
        std::string comments;
        text(name, comments);
        setOwnedAuthorComments(std::move(comments), &track);
    }

    // A terrain larger than the grid fails; its grid is then read as empty.
    void checkTerrainSize(ZvTrack& track) {
        if (zvlayout::terrainFitsGrid(track)) return;
        fail("terrain of " + std::to_string(track.terrainColumns) + " columns by " +
             std::to_string(track.terrainRows) + " rows exceeds the grid of " +
             std::to_string(kTerrainMaxColumns) + " by " + std::to_string(kTerrainMaxRows));
        track.terrainColumns = 0;
        track.terrainRows = 0;
    }

    // Cells outside the file's rows and columns keep their heights.
    void terrainGrid(const char*, ZvTrack& track) {
        long long cells = static_cast<long long>(track.terrainRows) * track.terrainColumns;
        if (!fits(cells, kFloatSize, "terrain height count")) return;
        for (int row = 0; row < track.terrainRows; ++row) {
            for (int column = 0; column < track.terrainColumns; ++column) {
                setTerrainHeight(row, column, ReadFloat(in_), &track);
            }
        }
    }

private:
    ZvInStream* in_;
    int key_ = kKeyUnknown;
    size_t offset_ = 0;
    std::string error_;
};

// Reads the fields of the chunk whose key was just read.
void readChunk(int key, ChunkReader& reader, ZvTrack& track) {
    if (key == kKeyTERA) track.hasTerrain = 1;
    if (!zvlayout::body(key, reader, track) || reader.failed()) return;
    // RASC and SCEN read their own nested count as a field, which a cut
    // damages like any other; the scan steps over the others'.
    if (key == kKeyRASC) reader.nestedCount();
    if (key == kKeySCEN) track.scenTrailer = reader.nestedCount();
}

// Text files and other data can hold a chunk key by chance; a file whose first
// key is not the root chunk's is most likely no track at all, which is told
// before the damage found.
std::string notATrackNote(const unsigned char* bytes, size_t size) {
    const char* root = keyName(kKeyZORV);
    if (size >= 4 && std::memcmp(bytes, root, 4) == 0) return "";
    return std::string("not a track file (it does not begin with \"") + root + "\"): ";
}

std::string strayBytesWarning(size_t count, size_t offset) {
    return std::to_string(count) + " stray bytes at byte " + std::to_string(offset) +
           " after the last chunk ignored";
}

// Reads the whole open file; false with errno set when a read fails.
bool readAll(int fd, size_t sizeHint, std::vector<unsigned char>* bytes) {
    bytes->resize(sizeHint + 1);  // one more byte shows whether the file grew
    size_t filled = 0;
    for (;;) {
        if (filled == bytes->size()) bytes->resize(bytes->size() + kReadBlock);
        ssize_t got = read(fd, bytes->data() + filled, bytes->size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    bytes->resize(filled);
    return true;
}

// What a file that is not a regular one is, for the message that refuses it.
const char* fileKind(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "a special file";
}

// Loads the file at `path` into `bytes`; on failure returns the reason. The
// open does not wait (a FIFO without a writer would block it forever), and
// only a regular file within the format's size is read.
std::string loadFile(const char* path, std::vector<unsigned char>* bytes) {
    int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::string("cannot open: ") + std::strerror(errno);
    struct stat status;
    std::string problem;
    if (fstat(fd, &status) != 0) {
        problem = std::string("cannot read its status: ") + std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        problem = std::string("not a regular file (") + fileKind(status.st_mode) + ")";
    } else if (static_cast<uint64_t>(status.st_size) > kZvMaxFileSize) {
        problem = std::to_string(status.st_size) + " bytes, more than the " +
                  std::to_string(kZvMaxFileSize) + " a track file can hold";
    } else if (!readAll(fd, static_cast<size_t>(status.st_size), bytes)) {
        problem = std::string("read failed: ") + std::strerror(errno);
    }
    close(fd);
    return problem;
}

}  // namespace

int ZvOpenMemory(const unsigned char* bytes, size_t size, ZvTrack* track, ZvLoadReport* report) {
    ZvLoadReport unused;
    if (!report) report = &unused;
    *report = ZvLoadReport();

    ZvTrack loaded = *track;
    ZvInStream in;
    in.bytes = bytes;
    in.size = size;
    ChunkReader reader(&in);
    int chunksRead = 0;
    while (in.pos < in.size) {
        size_t start = in.pos;
        int key = ReadKey(&in);
        if (in.pastEnd) {
            report->warning = strayBytesWarning(size - start, start);
            break;
        }
        if (key == kKeyUnknown) continue;
        reader.beginChunk(key, start);
        readChunk(key, reader, loaded);
        if (!reader.failed() && in.pastEnd) {
            reader.fail("its fields run past the end of the file (" + std::to_string(size) +
                        " bytes)");
        }
        if (reader.failed()) {
            report->error = notATrackNote(bytes, size) + reader.error();
            return 0;
        }
        ++chunksRead;
    }
    *track = std::move(loaded);
    report->chunksRead = chunksRead;
    return 1;
}

int ZvOpen(const char* path, ZvTrack* track, ZvLoadReport* report) {
    ZvLoadReport unused;
    if (!report) report = &unused;
    *report = ZvLoadReport();
    if (!path || !*path) {
        report->error = "no track file name given";
        return 0;
    }
    std::vector<unsigned char> bytes;
    std::string problem = loadFile(path, &bytes);
    if (!problem.empty()) {
        report->error = std::string(path) + ": " + problem;
        return 0;
    }
    int loaded = ZvOpenMemory(bytes.data(), bytes.size(), track, report);
    if (!report->error.empty()) report->error = std::string(path) + ": " + report->error;
    if (!report->warning.empty()) report->warning = std::string(path) + ": " + report->warning;
    return loaded;
}
