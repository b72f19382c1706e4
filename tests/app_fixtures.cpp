#include "app_fixtures.h"

#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace apptest {

namespace {

constexpr float kTrackHeight = 10.0f;
constexpr float kBezierSpacing = 8.0f;
constexpr float kHandleLength = 8.0f / 3.0f;
constexpr int kBeziers = 3;

constexpr int kChildExecFailed = 127;
constexpr double kRunTimeoutSeconds = 120.0;
constexpr int kServerStartAttempts = 3;

void redirect(const std::string& path, int fd) {
    int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file >= 0) {
        dup2(file, fd);
        close(file);
    }
}

std::vector<char*> argvOf(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    return argv;
}

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

bool fileExists(const std::string& path) { return fs::exists(path); }

void buildStraightTrack(ZvTrack* track, int nodesPerSegment) {
    initNewZvTrack(track);
    track->bezierArray.clear();
    for (int i = 0; i < kBeziers; ++i) {
        float x = (i - 1) * kBezierSpacing;
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
            addTrackNode(n - 1, kNodeColumn, (k + 1.0f) / (nodesPerSegment + 1), track);
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

pid_t startProgram(const std::vector<std::string>& args, const Display& display,
                   const std::string& outPath, const std::string& errPath) {
    std::vector<std::string> words{STRUTWRIGHT_EXE};
    words.insert(words.end(), args.begin(), args.end());
    pid_t pid = fork();
    if (pid == 0) {
        redirect(outPath, STDOUT_FILENO);
        redirect(errPath, STDERR_FILENO);
        if (display.name.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", display.name.c_str(), 1);
            // The software GL driver leaves allocations behind when it is
            // unloaded at exit; in sanitizer builds only the windowless runs
            // check for leaks.
            const char* asanOptions = getenv("ASAN_OPTIONS");
            std::string options = asanOptions ? std::string(asanOptions) + ":" : "";
            setenv("ASAN_OPTIONS", (options + "detect_leaks=0").c_str(), 1);
        }
        std::vector<char*> argv = argvOf(words);
        execv(argv[0], argv.data());
        _exit(kChildExecFailed);
    }
    return pid;
}

int waitForExit(pid_t pid, double timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProgramRun runProgram(const std::vector<std::string>& args, const Display& display) {
    std::string dir = scratchDir("run-output-" + std::to_string(getpid()));
    std::string outPath = dir + "/stdout", errPath = dir + "/stderr";
    ProgramRun run;
    run.exitStatus = waitForExit(startProgram(args, display, outPath, errPath),
                                 kRunTimeoutSeconds);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

int runCommand(const std::string& command, std::string* out) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        if (out) out->append(buffer, got);
    }
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool XServer::available() { return runCommand("command -v Xvfb >/dev/null 2>&1", nullptr) == 0; }

XServer::XServer() {
    // Servers started at the same moment can race for a display number; the
    // loser exits at once, so try a few times.
    for (int attempt = 0; attempt < kServerStartAttempts && !running(); ++attempt) start();
}

void XServer::start() {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(ready[0]);
        redirect("/dev/null", STDERR_FILENO);
        std::vector<std::string> words{"Xvfb", "-displayfd", std::to_string(ready[1]),
                                       "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
        std::vector<char*> argv = argvOf(words);
        execvp(argv[0], argv.data());
        _exit(kChildExecFailed);
    }
    close(ready[1]);
    // Xvfb writes its display number, then a newline, once it accepts clients.
    std::string number;
    char c;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (!number.empty()) {
        display_.name = ":" + number;
    } else if (pid_ > 0) {
        waitForExit(pid_, 10.0);
        pid_ = -1;
    }
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (waitForExit(pid_, 10.0) < 0) kill(pid_, SIGKILL);
}

void Picture::at(int x, int y, int rgbOut[3]) const {
    for (int c = 0; c < 3; ++c) rgbOut[c] = 0;
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    for (int c = 0; c < 3; ++c) rgbOut[c] = p[c];
}

bool Picture::hasColourNear(int x, int y, int radius, int r, int g, int b) const {
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            int c[3];
            at(x + dx, y + dy, c);
            if (c[0] == r && c[1] == g && c[2] == b) return true;
        }
    }
    return false;
}

int Picture::count(int r, int g, int b) const {
    int found = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        if (rgb[i] == r && rgb[i + 1] == g && rgb[i + 2] == b) ++found;
    }
    return found;
}

Picture readPng(const std::string& path) {
    Picture picture;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(rgb);
    return picture;
}

namespace {

// Fields of the dump header, 32-bit words stored most significant byte first.
enum XwdField : int {
    kXwdHeaderSize = 0,
    kXwdWidth = 4,
    kXwdHeight = 5,
    kXwdByteOrder = 7,
    kXwdBitsPerPixel = 11,
    kXwdBytesPerLine = 12,
    kXwdColours = 19,
    kXwdFieldCount = 25,
};
constexpr size_t kXwdColourSize = 12;
constexpr uint32_t kMsbFirst = 1;

uint32_t bigEndianWord(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

}  // namespace

Picture readXwd(const std::string& bytes) {
    Picture picture;
    if (bytes.size() < kXwdFieldCount * 4) return picture;
    auto field = [&](int index) { return bigEndianWord(bytes, index * 4u); };
    if (field(kXwdBitsPerPixel) != 32) return picture;
    size_t width = field(kXwdWidth), height = field(kXwdHeight);
    size_t bytesPerLine = field(kXwdBytesPerLine);
    size_t pixelsStart = field(kXwdHeaderSize) + field(kXwdColours) * kXwdColourSize;
    if (bytes.size() < pixelsStart + bytesPerLine * height) return picture;
    bool msbFirst = field(kXwdByteOrder) == kMsbFirst;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.rgb.resize(width * height * 3);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(
                &bytes[pixelsStart + y * bytesPerLine + x * 4]);
            unsigned char* out = &picture.rgb[(y * width + x) * 3];
            // 0x00RRGGBB in the dump's byte order.
            out[0] = msbFirst ? p[1] : p[2];
            out[1] = msbFirst ? p[2] : p[1];
            out[2] = msbFirst ? p[3] : p[0];
        }
    }
    return picture;
}

}  // namespace apptest
