// Shared helpers of the program's tests: sample tracks built with the track
// library, running the real strutwright executable, a private X server, and
// reading back pictures.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "../track/track.h"
#include "strutWright.h"

namespace apptest {

// A fresh, empty folder for one test's files.
std::string scratchDir(const std::string& name);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// An open track of three beziers along x at height 10 (x = -8, 0, 8; z = 0),
// two segments, and `nodesPerSegment` track nodes of type 2 on each.
void buildStraightTrack(ZvTrack* track, int nodesPerSegment = 1);
// Saves `track` to `path`; fails the test when the save fails.
void saveTrack(const std::string& path, ZvTrack* track);
// Loads `path`; fails the test when the load fails.
void loadTrack(const std::string& path, ZvTrack* track);

struct ProgramRun {
    int exitStatus = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Where the program may find an X server: empty means "no DISPLAY at all".
struct Display {
    std::string name;
};

// Starts strutwright with `args` and DISPLAY set to display.name (or unset);
// stdout and stderr go to the given files.
pid_t startProgram(const std::vector<std::string>& args, const Display& display,
                   const std::string& outPath, const std::string& errPath);
// Waits for the process to end; -1 on a timeout or abnormal end.
int waitForExit(pid_t pid, double timeoutSeconds);
// Runs strutwright to its end (killed after 120 s).
ProgramRun runProgram(const std::vector<std::string>& args, const Display& display = {});

// Runs a shell command; returns its exit status and fills *out with stdout.
int runCommand(const std::string& command, std::string* out);

// A private X server for the lifetime of the object.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    static bool available();  // whether the Xvfb binary is installed
    bool running() const { return pid_ > 0 && !display_.name.empty(); }
    const Display& display() const { return display_; }

private:
    void start();

    pid_t pid_ = -1;
    Display display_;
};

// An RGB picture, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    bool valid() const { return width > 0 && height > 0; }
    // Colour at column x, row y from the top; black outside the picture.
    void at(int x, int y, int rgbOut[3]) const;
    // Whether a pixel within `radius` of (x, y) has exactly this colour.
    bool hasColourNear(int x, int y, int radius, int r, int g, int b) const;
    // Number of pixels of exactly this colour.
    int count(int r, int g, int b) const;
};

Picture readPng(const std::string& path);
// A window dump in the X window dump format (32-bit true colour).
Picture readXwd(const std::string& bytes);

}  // namespace apptest
