// Writes the seed corpus of the fuzz target into the directory given:
//   fuzz_make_seeds fuzz/corpus
// Every seed is a track built and saved by the track library itself: a new
// track, tracks with markers of every node type (open, closed, degenerate),
// documents with every chunk populated (terrain, CATW, SCEN and SCOB records),
// and a few damaged and reordered files.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "hardening_tracks.h"
#include "strutWright.h"

namespace {

void writeSeed(const std::string& directory, const std::string& name, const Bytes& bytes) {
    std::string path = directory + "/" + name + ".zvtrack";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "fuzz_make_seeds: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

ZvTrack newTrack() {
    ZvTrack track;
    initNewZvTrack(&track);
    return track;
}

// One curved, banked segment carrying one marker of the given type, with the
// segment colours that steer the braced leg.
ZvTrack singleMarkerTrack(int nodeType, Color color1, Color color2, Color color3) {
    ZvTrack track = newTrack();
    deleteBezier(0, &track);
    addBezier(0, 12, 0, 0, 12, -6, 2, 12, 6, 0.2f, 0, 0, 0, &track);
    addBezier(10, 18, 25, 6, 17, 20, 14, 19, 30, 0.9f, 0, 0, 0, &track);
    addSegment(kSegmentPlain, 1, 0, color1, color2, color3, 0, 0, &track);
    addTrackNode(0, nodeType, 0.5f, &track);
    return track;
}

// A copy of `bytes` whose ZORV chunk (the first 32 bytes) is moved to the end,
// with unknown groups in front of it and two stray bytes after it.
Bytes reordered(const Bytes& bytes) {
    constexpr long kHeaderChunk = 32;
    Bytes moved(bytes.begin() + kHeaderChunk, bytes.end());
    const char unknown[] = "ABCDwxyz";
    moved.insert(moved.end(), unknown, unknown + 8);
    moved.insert(moved.end(), bytes.begin(), bytes.begin() + kHeaderChunk);
    moved.push_back(0x01);
    moved.push_back(0x02);
    return moved;
}

void writeTracks(const std::string& dir) {
    writeSeed(dir, "new-track", fixture::saveToBytes(newTrack()));
    const Color green = createColorARGB(255, 0, 255, 0);
    const Color red = createColorARGB(255, 255, 0, 0);
    const Color white = createColorARGB(255, 255, 255, 255);
    const Color tie = createColorARGB(255, 9, 0, 40);
    for (int type = 0; type <= 8; ++type) {
        writeSeed(dir, "marker-type-" + std::to_string(type),
                  fixture::saveToBytes(singleMarkerTrack(type, white, red, white)));
    }
    writeSeed(dir, "braced-leg-mirrored-diagonal",
              fixture::saveToBytes(singleMarkerTrack(kMarkerBracedLeg, green, white, tie)));
    std::mt19937 rng(1);
    writeSeed(dir, "markers-open", fixture::saveToBytes(randomMarkedTrack(rng, TrackShape::kOpen)));
    writeSeed(dir, "markers-closed", fixture::saveToBytes(randomMarkedTrack(rng, TrackShape::kClosed)));
    writeSeed(dir, "markers-degenerate", fixture::saveToBytes(randomMarkedTrack(rng, TrackShape::kDegenerate)));
}

void writeDocuments(const std::string& dir) {
    std::mt19937 rng(2);
    for (int i = 1; i <= 3; ++i) {
        ZvTrack document = randomDocument(rng);
        document.hasTerrain = 1;  // every chunk present
        writeSeed(dir, "every-chunk-" + std::to_string(i), fixture::saveToBytes(document));
    }
    Bytes full = fixture::saveToBytes(randomDocument(rng));
    writeSeed(dir, "reordered-with-stray-bytes", reordered(full));
    Bytes truncated(full.begin(), full.begin() + static_cast<long>(full.size() / 2));
    writeSeed(dir, "damaged-truncated", truncated);
    Bytes hugeCount = fixture::saveToBytes(newTrack());
    constexpr size_t kEntryCountOffset = 32 + 12;  // TRCK: key, length, style, then the count
    hugeCount[kEntryCountOffset] = 0x7F;
    writeSeed(dir, "damaged-huge-count", hugeCount);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds DIRECTORY\n");
        return 2;
    }
    writeTracks(argv[1]);
    writeDocuments(argv[1]);
    return 0;
}
