// The batch path of the program over the synthetic circuit at 1,000, 10,000
// and 40,000 markers: loading the track file, generating the supports, saving
// the result, and all of it in a row as the program runs it, without the
// clearance check (Batch) and with it (BatchChecked). Each stage and Batch must
// grow linearly with the markers (compare 10,000 with 40,000); the check
// grows with the density of the circuit's stacked laps as well, so its
// linearity is measured at fixed density (bench_supports, bench-batch). LoadWithTerrain
// reads a full terrain grid plus the 40,000-marker records: its bytes per
// second must stay at 200 MB/s or more.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "batch.h"
#include "syntheticTrack.h"
#include "track.h"

namespace {

// A file in the temporary folder, removed with the object.
class ScratchFile {
public:
    ScratchFile() : path_(std::string(P_tmpdir) + "/bench_batch_XXXXXX") {
        const int fd = mkstemp(path_.data());
        if (fd >= 0) close(fd);
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const char* path() const { return path_.c_str(); }
    int64_t size() const {
        FILE* file = std::fopen(path(), "rb");
        if (!file) return 0;
        std::fseek(file, 0, SEEK_END);
        const long bytes = std::ftell(file);
        std::fclose(file);
        return bytes;
    }

private:
    std::string path_;
};

bool save(ZvTrack* track, const ScratchFile& file, benchmark::State& state) {
    if (ZvSave(file.path(), track)) return true;
    state.SkipWithError("cannot write the track file");
    return false;
}

// The batch path as the program runs it, without the entry indices on stdout.
BatchOptions quietly(float clearanceRadius) {
    BatchOptions options;
    options.entryOutput = nullptr;
    options.clearanceRadius = clearanceRadius;
    return options;
}

int markersOf(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

void BM_Load(benchmark::State& state) {
    ZvTrack original = syntheticTrack(markersOf(state));
    ScratchFile input;
    if (!save(&original, input, state)) return;
    for (auto _ : state) {
        ZvTrack track;
        if (!ZvOpen(input.path(), &track)) state.SkipWithError("the track did not load");
        benchmark::DoNotOptimize(track.bezierArray.data());
    }
    state.SetBytesProcessed(state.iterations() * input.size());
}

void BM_LoadWithTerrain(benchmark::State& state) {
    ZvTrack original = syntheticTrack(markersOf(state));
    original.hasTerrain = 1;
    original.terrainRows = kTerrainMaxRows;
    original.terrainColumns = kTerrainMaxColumns;
    for (int row = 0; row < kTerrainMaxRows; ++row) {
        for (int column = 0; column < kTerrainMaxColumns; ++column) {
            setTerrainHeight(row, column, static_cast<float>(row % 17 + column % 13), &original);
        }
    }
    ScratchFile input;
    if (!save(&original, input, state)) return;
    for (auto _ : state) {
        ZvTrack track;
        if (!ZvOpen(input.path(), &track)) state.SkipWithError("the track did not load");
        benchmark::DoNotOptimize(track.terrainHeights.data());
    }
    state.SetBytesProcessed(state.iterations() * input.size());
}

void BM_Generate(benchmark::State& state) {
    const ZvTrack original = syntheticTrack(markersOf(state));
    for (auto _ : state) {
        state.PauseTiming();
        ZvTrack track = original;
        state.ResumeTiming();
        generateWithDriverDefaults(&track, nullptr);
        benchmark::DoNotOptimize(track.tubeArray.data());
    }
    state.SetItemsProcessed(state.iterations() * markersOf(state));
}

void BM_Save(benchmark::State& state) {
    ZvTrack track = syntheticTrack(markersOf(state));
    generateWithDriverDefaults(&track, nullptr);
    ScratchFile output;
    for (auto _ : state) {
        if (!save(&track, output, state)) break;
    }
    state.SetBytesProcessed(state.iterations() * output.size());
}

// Load, generate, banner, save: what `strutwright --no-view --clearance R` does.
void batch(benchmark::State& state, float clearanceRadius) {
    ZvTrack original = syntheticTrack(markersOf(state));
    ScratchFile input, output;
    if (!save(&original, input, state)) return;
    for (auto _ : state) {
        ZvTrack track;
        if (runBatch(input.path(), output.path(), &track, quietly(clearanceRadius)).stage != BatchStage::kDone) {
            state.SkipWithError("the batch path failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * output.size());
}

void BM_Batch(benchmark::State& state) { batch(state, 0); }
void BM_BatchChecked(benchmark::State& state) { batch(state, kDefaultClearanceRadius); }

void markerCounts(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Load)->Apply(markerCounts);
BENCHMARK(BM_LoadWithTerrain)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate)->Apply(markerCounts);
BENCHMARK(BM_Save)->Apply(markerCounts);
BENCHMARK(BM_Batch)->Apply(markerCounts);
BENCHMARK(BM_BatchChecked)->Apply(markerCounts);

}  // namespace

BENCHMARK_MAIN();
