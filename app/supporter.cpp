// The strutwright program's batch phase: load, generate, save. The viewer is
// a module of its own, loaded only when a window is wanted (viewerModule.h).
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "commandLine.h"
#include "strutWright.h"
#include "viewerModule.h"
#include "../track/track.h"

namespace {

constexpr const char* kBanner = "--- QTR V1.0 pre-beta ---\r\n";
constexpr const char* kOutputSuffix = "-new.zvtrack";
constexpr const char* kOwnExecutable = "/proc/self/exe";

strutWright generator;
ZvTrack track;
Supports supports;

// The library's reports name the file themselves.
bool loadTrack(const std::string& path) {
    ZvLoadReport report;
    bool loaded = ZvOpen(path.c_str(), &track, &report) != 0;
    if (loaded && report.chunksRead > 0) {
        if (!report.warning.empty()) {
            std::fprintf(stderr, "strutwright: %s\n", report.warning.c_str());
        }
        return true;
    }
    if (!loaded && !report.error.empty()) {
        std::fprintf(stderr, "strutwright: %s\n", report.error.c_str());
    } else {
        std::fprintf(stderr, "strutwright: %s: no track data found\n", path.c_str());
    }
    return false;
}

void generateSupports() {
    generator.setTrack(&track);
    setDriverDefaults(&supports);
    generator.setSupport(&supports);
    generator.Make();
}

// The document keeps the new text itself, every byte of the old one included.
void prependBanner() {
    setOwnedAuthorComments(kBanner + authorCommentsText(&track), &track);
}

bool saveTrack(const std::string& inputPath) {
    const std::string outputPath = inputPath + kOutputSuffix;
    std::string error;
    if (ZvSave(outputPath.c_str(), &track, &error)) return true;
    if (error.empty()) error = outputPath + ": the save failed";
    std::fprintf(stderr, "strutwright: cannot write %s\n", error.c_str());
    return false;
}

// The viewer module: beside the executable (the build tree), or in
// lib/strutwright/ next to its bin/ folder (an installed program). When
// neither exists, the first place, whose failure is then reported.
std::string viewerModulePath() {
    std::string executable(PATH_MAX, '\0');
    const ssize_t length = readlink(kOwnExecutable, &executable[0], executable.size());
    if (length <= 0 || static_cast<size_t>(length) >= executable.size()) return kViewerModuleFile;
    executable.resize(static_cast<size_t>(length));
    const std::string folder = executable.substr(0, executable.rfind('/') + 1);
    const std::string besideProgram = folder + kViewerModuleFile;
    const std::string installed = folder + kInstalledViewerFolder + kViewerModuleFile;
    if (access(besideProgram.c_str(), F_OK) != 0 && access(installed.c_str(), F_OK) == 0) {
        return installed;
    }
    return besideProgram;
}

// Loads the viewer module and runs it; the module stays loaded until exit,
// since the toolkit may run exit handlers of its own.
int runViewer(const CommandLine& commandLine, int savedStatus) {
    const std::string path = viewerModulePath();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = module ? dlsym(module, kRunViewerSymbol) : nullptr;
    if (!entry) {
        const char* why = dlerror();
        std::fprintf(stderr, "strutwright: cannot load the viewer %s: %s\n", path.c_str(),
                     why ? why : "it has no entry point");
        return kExitFailure;
    }
    return reinterpret_cast<RunViewerFunction>(entry)(&commandLine, &track, savedStatus);
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
    if (!loadTrack(commandLine.trackPath)) return kExitFailure;
    generateSupports();
    prependBanner();
    const int savedStatus = saveTrack(commandLine.trackPath) ? kExitOk : kExitFailure;
    std::fflush(stdout);
    if (commandLine.noView) return savedStatus;
    return runViewer(commandLine, savedStatus);
}
