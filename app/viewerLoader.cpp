#include "viewerLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

constexpr const char* kOwnExecutable = "/proc/self/exe";

// The module beside the executable (the build tree), or in lib/strutwright/
// next to its bin/ folder (an installed program). When neither exists, the
// first place, whose failure is then reported.
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

}  // namespace

int showTrack(const ViewRequest& request, ZvTrack* track) {
    const std::string path = viewerModulePath();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = module ? dlsym(module, kRunViewerSymbol) : nullptr;
    if (!entry) {
        const char* why = dlerror();
        std::fprintf(stderr, "strutwright: cannot load the viewer %s: %s\n", path.c_str(),
                     why ? why : "it has no entry point");
        return kViewFailed;
    }
    return reinterpret_cast<RunViewerFunction>(entry)(&request, track);
}
