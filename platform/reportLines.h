// The lines a program reports, each with the kind of finding it tells of, so
// that thousands of one kind (a track whose laps stack has a clearance
// warning at nearly every structure) do not bury the rest.
//
//   capLines  the lines to print, in order: every line without a kind, and
//             the first `perKind` lines of each kind; where the last line of
//             a kind that has more would have stood, one line naming `file`:
//             "track.zvtrack: ... and 1250 more clearance lines (--verbose
//             prints them all)".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What a run prints of one kind unless asked for everything.
constexpr size_t kLinesPerKind = 20;

struct ReportLine {
    std::string kind;  // one or two words: "clearance", "left out"; "" for a line always shown
    std::string text;
};

std::vector<std::string> capLines(std::vector<ReportLine> lines, size_t perKind, const std::string& file);
