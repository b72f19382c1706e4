// Writes the synthetic benchmark circuit to a track file, for timing the
// strutwright program itself.
//
//   write_synthetic_track MARKERS FILE
#include <cstdio>
#include <cstdlib>
#include <string>

#include "libzvtrack.h"
#include "syntheticTrack.h"

namespace {

enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

constexpr long kMaxMarkers = 10000000;

}  // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const long markers = argc == 3 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 3 || *end != '\0' || markers < 1 || markers > kMaxMarkers) {
        std::fprintf(stderr, "usage: write_synthetic_track MARKERS FILE (MARKERS 1..%ld)\n",
                     kMaxMarkers);
        return kExitUsage;
    }
    ZvTrack track = syntheticTrack(static_cast<int>(markers));
    std::string error;
    if (!ZvSave(argv[2], &track, &error)) {
        std::fprintf(stderr, "write_synthetic_track: cannot write %s\n", error.c_str());
        return kExitFailure;
    }
    return kExitOk;
}
