// The strutwright program: loads a track, builds its supports, writes
// "<track>-new.zvtrack" with a banner line before the author comments, and
// shows the result in a 3D view (a module loaded only for the window).
#include <algorithm>
#include <cstdio>
#include <string>

#include "batch.h"
#include "commandLine.h"
#include "exitStatus.h"
#include "viewerLoader.h"

namespace {

constexpr const char* kOutputSuffix = "-new.zvtrack";

ZvTrack track;

void printMessages(const BatchResult& result) {
    for (const std::string& warning : result.warnings) {
        std::fprintf(stderr, "strutwright: %s\n", warning.c_str());
    }
    if (!result.error.empty()) std::fprintf(stderr, "strutwright: %s\n", result.error.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.help) {
        std::fputs(usageText(), stdout);
        return kExitOk;
    }
    if (commandLine.version) {
        std::printf("strutwright %s\n", STRUTWRIGHT_VERSION);
        return kExitOk;
    }
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "strutwright: %s\n%s", commandLine.error.c_str(), usageText());
        return kExitUsage;
    }
    const std::string& input = commandLine.trackPath;
    const BatchResult result = runBatch(input, input + kOutputSuffix, &track, BatchOptions{});
    printMessages(result);
    if (result.stage == BatchStage::kLoadFailed) return kExitFailure;
    const int savedStatus = result.stage == BatchStage::kDone ? kExitOk : kExitFailure;
    std::fflush(stdout);
    if (commandLine.noView) return savedStatus;
    return std::max(savedStatus, showTrack(commandLine.view, &track));
}
