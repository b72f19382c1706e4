// Runs the fuzz target over saved inputs with the ordinary compiler: every
// file named on the command line, and every file in each directory named.
// Exits non-zero when no input was found; a failing input aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// The regular files of a directory, in name order so runs are repeatable.
std::vector<fs::path> filesIn(const fs::path& directory) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void replay(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "fuzz_replay: %s (%zu bytes)\n", path.c_str(), bytes.size());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        fs::path path(argv[i]);
        if (!fs::exists(path)) {
            std::fprintf(stderr, "fuzz_replay: %s: no such file or directory\n", argv[i]);
            return 1;
        }
        std::vector<fs::path> inputs = fs::is_directory(path) ? filesIn(path) : std::vector{path};
        for (const fs::path& input : inputs) replay(input);
        replayed += static_cast<int>(inputs.size());
    }
    std::fprintf(stderr, "fuzz_replay: %d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
