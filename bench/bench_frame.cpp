// One frame of the viewer over the generated synthetic circuit, in a window on
// $DISPLAY or on a private X server (Xvfb, software GL):
//   Cached    the renderer as the program uses it, from the start camera
//   Uncached  the scene worked out and drawn anew in full, as before the cache
//   Floor     that full drawing replayed from a display list the benchmark
//             recorded itself: the least GL can take for all its triangles
//   Flat, Solid  the program's whole frame (ground and track) in each view,
//             with the camera framing the whole circuit, without samples
// Cached / Floor must stay within 1.3; Flat and Solid at 20,000 markers
// within 100 ms. Without any display every benchmark reports an error and is
// skipped.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "drawTrack.h"
#include "glFrame.h"
#include "viewFrame.h"
#include "processes.h"
#include "strutWright.h"
#include "syntheticTrack.h"
#include "track.h"

namespace {

std::unique_ptr<apptest::XServer> privateServer;
std::string displayProblem = "not set up";

// Uses $DISPLAY when it opens, or else starts a private X server.
bool openWindow() {
    const char* display = std::getenv("DISPLAY");
    std::string why;
    if (display && *display && glframe::openFrameWindow(display, &why)) return true;
    if (!apptest::XServer::available()) {
        displayProblem = "no display and Xvfb is not installed";
        return false;
    }
    privateServer = std::make_unique<apptest::XServer>();
    if (!privateServer->running()) {
        displayProblem = "Xvfb did not start";
        return false;
    }
    if (glframe::openFrameWindow(privateServer->display().name, &why)) return true;
    displayProblem = why;
    return false;
}

bool windowOpen = false;

enum class FrameKind { kCached, kUncached, kFloor };

// The generated circuit of state.range(0) markers; false, with the benchmark
// skipped, when no window could be opened.
bool generatedCircuit(benchmark::State& state, ZvTrack* track) {
    if (!windowOpen) {
        state.SkipWithError(("no display: " + displayProblem).c_str());
        return false;
    }
    *track = syntheticTrack(static_cast<int>(state.range(0)));
    generateWithDriverDefaults(track, nullptr);
    return true;
}

void drawFrames(benchmark::State& state, FrameKind kind) {
    ZvTrack track;
    if (!generatedCircuit(state, &track)) return;
    drawTrack renderer;
    renderer.setTrack(&track);
    GLuint floorList = glGenLists(1);
    glNewList(floorList, GL_COMPILE);
    renderer.RenderUncached();
    glEndList();

    CCamera camera;
    auto frame = [&] {
        switch (kind) {
        case FrameKind::kCached: renderer.Render(); break;
        case FrameKind::kUncached: renderer.RenderUncached(); break;
        case FrameKind::kFloor: glCallList(floorList); break;
        }
    };
    glframe::drawFrame(camera, frame);  // the cached renderer records here
    for (auto _ : state) glframe::drawFrame(camera, frame);
    glDeleteLists(floorList, 1);
    state.counters["freeNodes"] = getTotalFreeNodes(&track);
}

// The whole frame of the program, with the whole circuit in view.
void drawFramedFrames(benchmark::State& state, bool solid) {
    ZvTrack track;
    if (!generatedCircuit(state, &track)) return;
    drawTrack renderer;
    renderer.setTrack(&track);
    renderer.setSolid(solid);
    CCamera camera = framedCamera(renderer.box(), glframe::kFrameSize, glframe::kFrameSize);
    ViewFrame frame(false);
    auto draw = [&] {
        frame.draw(camera, renderer, glframe::kFrameSize, glframe::kFrameSize);
        glFinish();
    };
    draw();  // the renderer prepares its scene here
    for (auto _ : state) draw();
    state.counters["freeNodes"] = getTotalFreeNodes(&track);
}

void BM_FrameCached(benchmark::State& state) { drawFrames(state, FrameKind::kCached); }
void BM_FrameFlat(benchmark::State& state) { drawFramedFrames(state, false); }
void BM_FrameSolid(benchmark::State& state) { drawFramedFrames(state, true); }
void BM_FrameUncached(benchmark::State& state) { drawFrames(state, FrameKind::kUncached); }
void BM_FrameFloor(benchmark::State& state) { drawFrames(state, FrameKind::kFloor); }

BENCHMARK(BM_FrameCached)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFloor)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameUncached)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameFlat)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameSolid)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    windowOpen = openWindow();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
