// Shared helpers of the zvtrack tests: a scratch directory, running a program
// and capturing what it prints, and track files made by the project's own code.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "demoTrack.h"
#include "track.h"

namespace zvtest {

namespace fs = std::filesystem;

// A directory of its own per test, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                           std::to_string(::getpid());
        path_ = fs::temp_directory_path() / ("zvtrack-test-" + name);
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchDir() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

struct RunResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a shell command line, capturing stdout and stderr through files in dir.
inline RunResult run(const std::string& commandLine, const ScratchDir& dir) {
    const std::string outPath = dir.file("run.out"), errPath = dir.file("run.err");
    int raw = std::system((commandLine + " >'" + outPath + "' 2>'" + errPath + "'").c_str());
    RunResult result;
    if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

inline std::string quoted(const std::string& text) { return "'" + text + "'"; }

inline std::unique_ptr<ZvTrack> newTrack() {
    auto track = std::make_unique<ZvTrack>();
    initNewZvTrack(track.get());
    return track;
}

inline std::unique_ptr<ZvTrack> demoTrack() {
    auto track = std::make_unique<ZvTrack>();
    buildDemoTrack(track.get());
    return track;
}

inline std::unique_ptr<ZvTrack> loadTrack(const std::string& path) {
    auto track = std::make_unique<ZvTrack>();
    EXPECT_EQ(ZvOpen(path.c_str(), track.get()), 1) << path;
    return track;
}

inline void saveTrack(const std::string& path, ZvTrack* track) {
    ASSERT_EQ(ZvSave(path.c_str(), track), 1) << path;
}

// Saves and loads back, so the document holds what a file gives.
inline std::unique_ptr<ZvTrack> throughFile(ZvTrack* track, const ScratchDir& dir) {
    const std::string path = dir.file("roundtrip.zvtrack");
    saveTrack(path, track);
    return loadTrack(path);
}

}  // namespace zvtest
