// Shared helpers of the program's tests: sample tracks built with the track
// library and running the real strutwright executable (processes.h and
// picture.h bring the X server and the pictures).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "picture.h"
#include "processes.h"
#include "strutWright.h"
#include "track.h"

namespace apptest {

// A fresh, empty folder for one test's files.
std::string scratchDir(const std::string& name);
std::string readFile(const std::string& path);
bool contains(const std::string& text, const std::string& part);
// The lines of `text` (without their newlines) that begin with `start`.
std::vector<std::string> linesStartingWith(const std::string& text, const std::string& start);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// An open track of three beziers along x at height 10 (x = -8, 0, 8; z = 0),
// two segments, and `nodesPerSegment` track nodes of type 2 on each.
void buildStraightTrack(ZvTrack* track, int nodesPerSegment = 1);
// A track far out, where arc-length walks are slow: curved segments with
// coordinates near 10,000, markers of type 2 evenly spread on each, and tubes
// from one foundation naming each marker, so every marker survives generation.
struct FarOutShape {
    int segments;
    int markersPerSegment;
    int tubesPerMarker;
};
void buildFarOutTrack(ZvTrack* track, const FarOutShape& shape);
// Moves every bezier of `track`, its point and both handles, by `offset`.
void moveBeziers(ZvTrack* track, Point3D offset);
// Saves `track` to `path`; fails the test when the save fails.
void saveTrack(const std::string& path, ZvTrack* track);
// Loads `path`; fails the test when the load fails.
void loadTrack(const std::string& path, ZvTrack* track);

struct ProgramRun {
    int exitStatus = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Starts strutwright with `args` and DISPLAY set to display.name (or unset);
// stdout and stderr go to the given files.
pid_t startProgram(const std::vector<std::string>& args, const Display& display,
                   const std::string& outPath, const std::string& errPath);
// Runs strutwright to its end (killed after `timeoutSeconds`, exit status -1).
ProgramRun runProgram(const std::vector<std::string>& args, const Display& display = {},
                      double timeoutSeconds = 120.0);
#ifdef ZVTRACK_EXE
// Runs zvtrack with `args` to its end, without a display.
ProgramRun runZvtrack(const std::vector<std::string>& args);
#endif

}  // namespace apptest
