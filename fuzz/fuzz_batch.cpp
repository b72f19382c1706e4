// Fuzz target over the whole batch path of strutwright: load a track from
// bytes, generate supports with the driver's settings, save, and load the saved
// bytes again. Besides crashes and sanitizer reports, these abort:
//   - a failed load without a message, or one that changed the document;
//   - a generated free or foundation node with a non-finite coordinate, or a
//     generated tube whose end names no existing node;
//   - a saved track that does not load, or that saves to other bytes.
// The generator's printed indices and warnings are dropped by the fuzzer
// (-close_fd_mask=3 in scripts/fuzz); sanitizer reports still get through.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "strutWright.h"
#include "track.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes saveToBytes(const ZvTrack& track) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    if (stream == nullptr) std::abort();
    int written = ZvWrite(stream, &track);
    if (std::fclose(stream) != 0 || written != 1) std::abort();
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

void requireFailureLeftDocument(const ZvTrack& track, const ZvLoadReport& report) {
    static const Bytes zeroDocument = saveToBytes(ZvTrack{});
    if (report.error.empty()) std::abort();
    if (saveToBytes(track) != zeroDocument) std::abort();
}

bool finite(float x, float y, float z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

bool endExists(int kind, int index, const ZvTrack& track) {
    size_t count = kind == kEndFreeNode   ? track.freeNodeArray.size()
                   : kind == kEndFundNode ? track.fundNodeArray.size()
                                          : 0;
    return index >= 0 && static_cast<size_t>(index) < count;
}

// The input may hold anything; what the generator appends must be sound.
void requireSoundAdditions(const ZvTrack& track, size_t freeBefore, size_t fundBefore,
                           size_t tubesBefore) {
    for (size_t i = freeBefore; i < track.freeNodeArray.size(); ++i) {
        const FreeNodeRecord& n = track.freeNodeArray[i];
        if (!finite(n.x, n.y, n.z)) std::abort();
    }
    for (size_t i = fundBefore; i < track.fundNodeArray.size(); ++i) {
        const FundNodeRecord& n = track.fundNodeArray[i];
        if (!finite(n.x, n.y, n.z) || !std::isfinite(n.angle)) std::abort();
    }
    for (size_t i = tubesBefore; i < track.tubeArray.size(); ++i) {
        const TubeRecord& t = track.tubeArray[i];
        if (!endExists(t.kind1, t.index1, track) || !endExists(t.kind2, t.index2, track)) std::abort();
    }
}

void generateAsTheDriverDoes(ZvTrack* track) {
    size_t freeBefore = track->freeNodeArray.size();
    size_t fundBefore = track->fundNodeArray.size();
    size_t tubesBefore = track->tubeArray.size();
    generateWithDriverDefaults(track);
    requireSoundAdditions(*track, freeBefore, fundBefore, tubesBefore);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto track = std::make_unique<ZvTrack>();
    ZvLoadReport report;
    if (ZvOpenMemory(data, size, track.get(), &report) != 1) {
        requireFailureLeftDocument(*track, report);
        return 0;
    }
    generateAsTheDriverDoes(track.get());
    Bytes saved = saveToBytes(*track);
    auto reloaded = std::make_unique<ZvTrack>();
    if (ZvOpenMemory(saved.data(), saved.size(), reloaded.get(), nullptr) != 1) std::abort();
    if (saveToBytes(*reloaded) != saved) std::abort();
    return 0;
}
