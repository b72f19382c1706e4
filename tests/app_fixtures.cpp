#include "app_fixtures.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace apptest {

namespace {

constexpr float kTrackHeight = 10.0f;
constexpr float kBezierSpacing = 8.0f;
constexpr float kHandleLength = 8.0f / 3.0f;
constexpr int kBeziers = 3;

}  // namespace

std::string scratchDir(const std::string& name) {
    fs::path dir = fs::path(SW_BINARY_DIR) / "test-scratch" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& start) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        if (text.compare(at, start.size(), start) == 0) lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool fileExists(const std::string& path) { return fs::exists(path); }

void buildStraightTrack(ZvTrack* track, int nodesPerSegment) {
    initNewZvTrack(track);
    track->bezierArray.clear();
    for (int i = 0; i < kBeziers; ++i) {
        float x = static_cast<float>(i - 1) * kBezierSpacing;
        BezierRecord b;
        b.position = {x, kTrackHeight, 0};
        b.controlIn = {x - kHandleLength, kTrackHeight, 0};
        b.controlOut = {x + kHandleLength, kTrackHeight, 0};
        addBezier(b.position.x, b.position.y, b.position.z, b.controlIn.x, b.controlIn.y,
                  b.controlIn.z, b.controlOut.x, b.controlOut.y, b.controlOut.z, 0, 0, 0, 0,
                  track);
    }
    Color plain = createColorARGB(255, 0, 0, 0);
    for (int n = 1; n < kBeziers; ++n) {
        addSegment(kSegmentPlain, n, 0, plain, plain, plain, 0, 0, track);
        for (int k = 0; k < nodesPerSegment; ++k) {
            addTrackNode(n - 1, kMarkerColumn, static_cast<float>(k + 1) / static_cast<float>(nodesPerSegment + 1),
                         track);
        }
    }
}

void buildFarOutTrack(ZvTrack* track, const FarOutShape& shape) {
    constexpr float kFarOut = 10000.0f;
    constexpr float kSpacing = 100.0f;
    constexpr float kBend = 40.0f;
    initNewZvTrack(track);
    track->bezierArray.clear();
    for (int i = 0; i <= shape.segments; ++i) {
        const float x = kFarOut + static_cast<float>(i) * kSpacing;
        const float bend = i % 2 == 0 ? kBend : -kBend;
        addBezier(x, kTrackHeight, kFarOut, x - kSpacing / 3, kTrackHeight + bend, kFarOut - bend,
                  x + kSpacing / 3, kTrackHeight - bend, kFarOut + bend, 0, 0, 0, 0, track);
    }
    const int ground = addFundNode(0, 0, 0, 0, 0, 0, kFarOut, 0, kFarOut, track);
    Color plain = createColorARGB(255, 0, 0, 0);
    const int markers = shape.markersPerSegment;
    for (int s = 0; s < shape.segments; ++s) {
        addSegment(kSegmentPlain, s + 1, 0, plain, plain, plain, 0, 0, track);
        for (int n = 0; n < markers; ++n) {
            addTrackNode(s, kMarkerColumn,
                         static_cast<float>(n + 1) / static_cast<float>(markers + 1), track);
            for (int k = 0; k < shape.tubesPerMarker; ++k) {
                addSupport(kEndFundNode, ground, 0, kEndTrackNode, n, s, 0, 0, 0, track);
            }
        }
    }
}

void moveBeziers(ZvTrack* track, Point3D offset) {
    for (BezierRecord& b : track->bezierArray) {
        for (Point3D* p : {&b.position, &b.controlIn, &b.controlOut}) {
            p->x += offset.x;
            p->y += offset.y;
            p->z += offset.z;
        }
    }
}

void saveTrack(const std::string& path, ZvTrack* track) {
    std::string error;
    ASSERT_TRUE(ZvSave(path.c_str(), track, &error)) << error;
}

void loadTrack(const std::string& path, ZvTrack* track) {
    ZvLoadReport report;
    ASSERT_TRUE(ZvOpen(path.c_str(), track, &report)) << report.error;
}

namespace {

std::vector<std::string> commandWords(const char* program, const std::vector<std::string>& args) {
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    return words;
}

ProgramRun runWords(const std::vector<std::string>& words, const Display& display,
                    double timeoutSeconds) {
    std::string dir = scratchDir("run-output-" + std::to_string(getpid()));
    std::string outPath = dir + "/stdout", errPath = dir + "/stderr";
    ProgramRun run;
    run.exitStatus = waitForExit(startProcess(words, display, outPath, errPath), timeoutSeconds);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

}  // namespace

pid_t startProgram(const std::vector<std::string>& args, const Display& display,
                   const std::string& outPath, const std::string& errPath) {
    return startProcess(commandWords(STRUTWRIGHT_EXE, args), display, outPath, errPath);
}

ProgramRun runProgram(const std::vector<std::string>& args, const Display& display,
                      double timeoutSeconds) {
    return runWords(commandWords(STRUTWRIGHT_EXE, args), display, timeoutSeconds);
}

#ifdef ZVTRACK_EXE
ProgramRun runZvtrack(const std::vector<std::string>& args) {
    constexpr double kTimeoutSeconds = 120.0;
    return runWords(commandWords(ZVTRACK_EXE, args), Display{}, kTimeoutSeconds);
}
#endif

}  // namespace apptest
