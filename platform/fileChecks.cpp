#include "fileChecks.h"

#include <sys/stat.h>

#include <filesystem>

namespace {

// Whether both paths lead to one existing file.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Whether both paths name one entry of one folder: a file written to either
// would replace the other, whether or not it exists yet.
bool samePlace(const std::string& a, const std::string& b) {
    auto folder = [](const std::string& path) {
        const size_t slash = path.rfind('/');
        return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    };
    auto name = [](const std::string& path) { return path.substr(path.rfind('/') + 1); };
    return name(a) == name(b) && sameFile(folder(a), folder(b));
}

// Whether the absolute `path` begins with the folder /`top`.
bool beginsWith(const std::filesystem::path& path, const char* top) {
    auto part = path.begin();
    return part != path.end() && *part == "/" && ++part != path.end() && *part == top;
}

}  // namespace

std::string filesConflict(const std::string& input, const std::string& output,
                          const std::string& screenshot) {
    if (sameFile(input, output)) return "the output '" + output + "' is the track file itself";
    if (screenshot.empty()) return "";
    if (sameFile(input, screenshot)) {
        return "the screenshot '" + screenshot + "' is the track file itself";
    }
    if (samePlace(output, screenshot)) {
        return "the screenshot '" + screenshot + "' is the track output";
    }
    return "";
}

std::string systemTree(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path written = fs::absolute(path, error).lexically_normal();
    if (error) return "";
    const fs::path resolved = fs::weakly_canonical(written.parent_path(), error) / written.filename();
    for (const char* top : {"dev", "proc"}) {
        if (beginsWith(written, top) || (!error && beginsWith(resolved, top))) return std::string("/") + top;
    }
    return "";
}
