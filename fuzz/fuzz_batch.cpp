// Fuzz target over the whole batch path of strutwright (runBatchOnBytes: load,
// generate with the driver's settings, banner, save) and a reload of what it
// saved. Besides crashes and sanitizer reports, these abort:
//   - a failed load without a message, or one that changed the document;
//   - a generated free or foundation node with a non-finite coordinate, or a
//     generated tube whose end names no existing node;
//   - a saved track that does not load, or that saves to other bytes.
// The batch path is run without printing anything.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "batch.h"
#include "track.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes saveToBytes(const ZvTrack& track) {
    Bytes bytes;
    if (!ZvSaveMemory(&track, &bytes)) std::abort();
    return bytes;
}

void requireFailureLeftDocument(const ZvTrack& track, const BatchResult& result) {
    static const Bytes zeroDocument = saveToBytes(ZvTrack{});
    if (result.error.empty()) std::abort();
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

// The input may hold anything; what the generator appended must be sound.
template <class Record, class Check>
void requireLast(const std::vector<Record>& records, size_t added, Check sound) {
    if (added > records.size()) std::abort();
    for (size_t i = records.size() - added; i < records.size(); ++i) {
        if (!sound(records[i])) std::abort();
    }
}

void requireSoundAdditions(const ZvTrack& track, const GenerationReport& report) {
    requireLast(track.freeNodeArray, report.freeNodesAdded,
                [](const FreeNodeRecord& n) { return finite(n.x, n.y, n.z); });
    requireLast(track.fundNodeArray, report.fundNodesAdded, [](const FundNodeRecord& n) {
        return finite(n.x, n.y, n.z) && std::isfinite(n.angle);
    });
    requireLast(track.tubeArray, report.tubesAdded, [&track](const TubeRecord& t) {
        return endExists(t.kind1, t.index1, track) && endExists(t.kind2, t.index2, track);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BatchOptions quiet;
    quiet.entryOutput = nullptr;
    auto track = std::make_unique<ZvTrack>();
    Bytes saved;
    const BatchResult result = runBatchOnBytes(data, size, &saved, track.get(), quiet);
    if (result.stage == BatchStage::kLoadFailed) {
        requireFailureLeftDocument(*track, result);
        return 0;
    }
    if (result.stage != BatchStage::kDone) std::abort();
    requireSoundAdditions(*track, result.generation);
    auto reloaded = std::make_unique<ZvTrack>();
    if (ZvOpenMemory(saved.data(), saved.size(), reloaded.get(), nullptr) != 1) std::abort();
    if (saveToBytes(*reloaded) != saved) std::abort();
    return 0;
}
