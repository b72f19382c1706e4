// Writes the synthetic benchmark circuit, or one of the stress tracks, to a
// track file, for timing the strutwright program itself.
//
//   write_synthetic_track [--fixed-density] [--stripped] MARKERS FILE
//   write_synthetic_track --hairpin|--vertical|--helix SIZE FILE
//
// --fixed-density writes the circuit of one lap whose length grows with its
// markers (fixedDensityTrack) instead of the stacked laps; --stripped leaves
// out the markers, for timing placement on the same track. The stress tracks
// (stressTracks.h) take their size: the hairpin's length, the number of
// vertical segments, the helix's turns.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "libzvtrack.h"
#include "stressTracks.h"
#include "syntheticTrack.h"

namespace {

enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

constexpr long kMaxSize = 10000000;

enum class Shape { kCircuit, kHairpin, kVertical, kHelix };

struct Request {
    Shape shape = Shape::kCircuit;
    bool fixedDensity = false;
    bool stripped = false;
    long size = 0;  // markers, or the stress track's size
    const char* file = nullptr;
};

// The words after the program name; false when they make no sense.
bool parse(int argc, char** argv, Request* request) {
    int next = 1;
    for (; next < argc && argv[next][0] == '-'; ++next) {
        if (std::strcmp(argv[next], "--fixed-density") == 0) {
            request->fixedDensity = true;
        } else if (std::strcmp(argv[next], "--stripped") == 0) {
            request->stripped = true;
        } else if (std::strcmp(argv[next], "--hairpin") == 0) {
            request->shape = Shape::kHairpin;
        } else if (std::strcmp(argv[next], "--vertical") == 0) {
            request->shape = Shape::kVertical;
        } else if (std::strcmp(argv[next], "--helix") == 0) {
            request->shape = Shape::kHelix;
        } else {
            return false;
        }
    }
    if (argc - next != 2) return false;
    char* end = nullptr;
    request->size = std::strtol(argv[next], &end, 10);
    request->file = argv[next + 1];
    return *end == '\0' && request->size >= 1 && request->size <= kMaxSize;
}

ZvTrack trackOf(const Request& request) {
    const int size = static_cast<int>(request.size);
    switch (request.shape) {
    case Shape::kHairpin: return hairpinTrack(static_cast<float>(request.size));
    case Shape::kVertical: return verticalTrack(size);
    case Shape::kHelix: return helixTrack(size);
    case Shape::kCircuit: break;
    }
    ZvTrack track = request.fixedDensity ? fixedDensityTrack(size) : syntheticTrack(size);
    if (request.stripped) stripMarkers(&track);
    return track;
}

}  // namespace

int main(int argc, char** argv) {
    Request request;
    if (!parse(argc, argv, &request)) {
        std::fprintf(stderr,
                     "usage: write_synthetic_track [--fixed-density] [--stripped] MARKERS FILE\n"
                     "       write_synthetic_track --hairpin|--vertical|--helix SIZE FILE\n"
                     "(MARKERS and SIZE 1..%ld)\n",
                     kMaxSize);
        return kExitUsage;
    }
    ZvTrack track = trackOf(request);
    std::string error;
    if (!ZvSave(request.file, &track, &error)) {
        std::fprintf(stderr, "write_synthetic_track: cannot write %s\n", error.c_str());
        return kExitFailure;
    }
    return kExitOk;
}
