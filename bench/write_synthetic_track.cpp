// Writes the synthetic benchmark circuit to a track file, for timing the
// strutwright program itself.
//
//   write_synthetic_track [--fixed-density] [--stripped] MARKERS FILE
//
// --fixed-density writes the circuit of one lap whose length grows with its
// markers (fixedDensityTrack) instead of the stacked laps; --stripped leaves
// out the markers, for timing placement on the same track.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "libzvtrack.h"
#include "syntheticTrack.h"

namespace {

enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

constexpr long kMaxMarkers = 10000000;

struct Request {
    bool fixedDensity = false;
    bool stripped = false;
    long markers = 0;
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
        } else {
            return false;
        }
    }
    if (argc - next != 2) return false;
    char* end = nullptr;
    request->markers = std::strtol(argv[next], &end, 10);
    request->file = argv[next + 1];
    return *end == '\0' && request->markers >= 1 && request->markers <= kMaxMarkers;
}

}  // namespace

int main(int argc, char** argv) {
    Request request;
    if (!parse(argc, argv, &request)) {
        std::fprintf(stderr,
                     "usage: write_synthetic_track [--fixed-density] [--stripped] MARKERS FILE "
                     "(MARKERS 1..%ld)\n",
                     kMaxMarkers);
        return kExitUsage;
    }
    const int markers = static_cast<int>(request.markers);
    ZvTrack track = request.fixedDensity ? fixedDensityTrack(markers) : syntheticTrack(markers);
    if (request.stripped) stripMarkers(&track);
    std::string error;
    if (!ZvSave(request.file, &track, &error)) {
        std::fprintf(stderr, "write_synthetic_track: cannot write %s\n", error.c_str());
        return kExitFailure;
    }
    return kExitOk;
}
