// Generation time over the synthetic circuit: it must grow linearly with the
// number of markers (compare the 10,000 and 40,000 figures).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "strutWright.h"
#include "synthetic_track.h"

namespace {

void BM_GenerateSupports(benchmark::State& state) {
    const int markers = static_cast<int>(state.range(0));
    const ZvTrack original = syntheticTrack(markers);
    for (auto _ : state) {
        state.PauseTiming();
        ZvTrack track = original;
        Supports supports;
        setDriverDefaults(&supports);
        strutWright generator;
        generator.setTrack(&track);
        generator.setSupport(&supports);
        // Make prints the entry indices; they go to /dev/null here.
        std::fflush(stdout);
        const int savedStdout = dup(STDOUT_FILENO);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        state.ResumeTiming();

        generator.Make();

        state.PauseTiming();
        std::fflush(stdout);
        dup2(savedStdout, STDOUT_FILENO);
        close(savedStdout);
        close(devNull);
        benchmark::DoNotOptimize(track.tubeArray.data());
        state.counters["tubes"] = static_cast<double>(track.tubeArray.size());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * markers);
}

BENCHMARK(BM_GenerateSupports)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
