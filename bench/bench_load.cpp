// Loading time of the key scan: 50 MB of four-byte groups that are no key must
// be scanned in well under a second. Each group differs from "ZORV" only in its
// last letter, so a key comparison cannot stop early.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "libzvtrack.h"

namespace {

constexpr size_t kScanBytes = 50u << 20;

std::vector<unsigned char> groupsThatAreNoKey() {
    std::vector<unsigned char> bytes(kScanBytes);
    for (size_t at = 0; at < bytes.size(); at += 4) std::memcpy(&bytes[at], "ZORX", 4);
    return bytes;
}

void BM_ScanGroupsThatAreNoKey(benchmark::State& state) {
    std::vector<unsigned char> bytes = groupsThatAreNoKey();
    for (auto _ : state) {
        ZvTrack track;
        ZvLoadReport report;
        int loaded = ZvOpenMemory(bytes.data(), bytes.size(), &track, &report);
        if (loaded != 1 || report.chunksRead != 0) state.SkipWithError("the scan found a key");
        benchmark::DoNotOptimize(track.headerValue);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kScanBytes));
}
BENCHMARK(BM_ScanGroupsThatAreNoKey)->Unit(benchmark::kMillisecond);

// The same bytes read from a file, as the program loads its input.
void BM_OpenFileOfGroupsThatAreNoKey(benchmark::State& state) {
    std::vector<unsigned char> bytes = groupsThatAreNoKey();
    std::string path = "/tmp/bench_load_XXXXXX";
    int fd = mkstemp(path.data());
    FILE* file = fd < 0 ? nullptr : fdopen(fd, "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        state.SkipWithError("cannot write the input file");
        return;
    }
    for (auto _ : state) {
        ZvTrack track;
        if (ZvOpen(path.c_str(), &track) != 1) state.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(track.headerValue);
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kScanBytes));
}
BENCHMARK(BM_OpenFileOfGroupsThatAreNoKey)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
