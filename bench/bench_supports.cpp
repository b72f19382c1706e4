// The clearance check and marker placement.
//
//   Generate/20000, GenerateAndCheck/20000   generation of the synthetic
//       circuit (its laps stack, so what lies near a structure grows with the
//       size) without and with the check of the structures it built.
//   CheckFixedDensity/N                       the check alone on a circuit of
//       one lap whose length grows with its markers (N and 4N).
//   PlaceSynthetic/20000                      placement on the synthetic
//       circuit stripped of its markers.
//   PlaceFixedDensity/N                       placement on the stripped
//       fixed-density circuit (N and 4N).
#include <benchmark/benchmark.h>

#include "clearance.h"
#include "placement.h"
#include "syntheticTrack.h"

namespace {

constexpr int kSyntheticMarkers = 20000;
constexpr int kFixedDensityMarkers = 10000;

int markersOf(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

// Generation on a fresh copy of `original` (the copy is not timed), then the
// check when `check` is set.
void generate(benchmark::State& state, bool check) {
    const ZvTrack original = syntheticTrack(markersOf(state));
    for (auto _ : state) {
        state.PauseTiming();
        ZvTrack track = original;
        state.ResumeTiming();
        const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
        if (check) benchmark::DoNotOptimize(checkBuiltStructures(track, report).tubes.data());
        benchmark::DoNotOptimize(track.tubeArray.data());
    }
    state.SetItemsProcessed(state.iterations() * markersOf(state));
}

void BM_Generate(benchmark::State& state) { generate(state, false); }
void BM_GenerateAndCheck(benchmark::State& state) { generate(state, true); }

void BM_CheckFixedDensity(benchmark::State& state) {
    ZvTrack track = fixedDensityTrack(markersOf(state));
    const GenerationReport report = generateWithDriverDefaults(&track, nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(checkBuiltStructures(track, report).tubes.data());
    state.SetItemsProcessed(state.iterations() * markersOf(state));
}

void place(benchmark::State& state, ZvTrack bare) {
    stripMarkers(&bare);
    for (auto _ : state) {
        state.PauseTiming();
        ZvTrack track = bare;
        state.ResumeTiming();
        benchmark::DoNotOptimize(placeMarkers(&track).placed.data());
    }
}

void BM_PlaceSynthetic(benchmark::State& state) { place(state, syntheticTrack(markersOf(state))); }
void BM_PlaceFixedDensity(benchmark::State& state) { place(state, fixedDensityTrack(markersOf(state))); }

void nAndFourN(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(kFixedDensityMarkers)->Arg(int64_t{4} * kFixedDensityMarkers)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Generate)->Arg(kSyntheticMarkers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateAndCheck)->Arg(kSyntheticMarkers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckFixedDensity)->Apply(nAndFourN);
BENCHMARK(BM_PlaceSynthetic)->Arg(kSyntheticMarkers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceFixedDensity)->Apply(nAndFourN);

}  // namespace

BENCHMARK_MAIN();
