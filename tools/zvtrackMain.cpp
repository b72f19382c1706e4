// zvtrack: the track author's toolkit. Shows, checks and creates .zvtrack files.
//
// Exit status: 0 done, 1 `check` found something, 2 a usage error or a file
// that could not be loaded or written. Problems go to stderr as
// "zvtrack: <file>: <problem>".
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "demoTrack.h"
#include "track.h"
#include "trackCheck.h"
#include "trackInfo.h"
#include "trackJson.h"

namespace {

enum ExitStatus : int { kExitOk = 0, kExitFindings = 1, kExitFailure = 2 };

constexpr const char* kUsage =
    "Usage: zvtrack COMMAND FILE\n"
    "Shows, checks and creates Strutwright track files (.zvtrack).\n"
    "\n"
    "Commands:\n"
    "  info FILE    short summary: version, segments, markers, supports, comments\n"
    "  dump FILE    the whole track as JSON on stdout\n"
    "  check FILE   one line per inconsistency found; changes nothing\n"
    "  new FILE     write a new, empty track\n"
    "  demo FILE    write the example track with markers of every kind\n"
    "  --help       show this text\n"
    "\n"
    "Exit status: 0 done, 1 check found inconsistencies, 2 usage error or a file\n"
    "that could not be read or written.\n";

// The library's messages may already start with "<file>: "; it is not repeated.
int fail(const std::string& file, const std::string& problem) {
    const std::string prefix = file + ": ";
    const bool named = problem.compare(0, prefix.size(), prefix) == 0;
    std::cerr << "zvtrack: " << (named ? problem : prefix + problem) << "\n";
    return kExitFailure;
}

int usageError(const std::string& problem) {
    std::cerr << "zvtrack: " << problem << "\n" << kUsage;
    return kExitFailure;
}

// Loads FILE; on failure reports it and returns null.
std::unique_ptr<ZvTrack> load(const std::string& file) {
    auto track = std::make_unique<ZvTrack>();
    ZvLoadReport report;
    if (!ZvOpen(file.c_str(), track.get(), &report)) {
        fail(file, report.error.empty() ? "could not be loaded" : report.error);
        return nullptr;
    }
    if (report.chunksRead == 0) {
        fail(file, "not a track file: no track chunks found");
        return nullptr;
    }
    return track;
}

int save(const std::string& file, ZvTrack* track) {
    std::string error;
    if (!ZvSave(file.c_str(), track, &error))
        return fail(file, error.empty() ? "could not be written" : error);
    return kExitOk;
}

int runInfo(const ZvTrack& track) {
    printTrackInfo(track, std::cout);
    return kExitOk;
}

int runDump(const ZvTrack& track) {
    OrderedJson doc = trackToJson(track);
    replaceNonFinite(doc);
    std::cout << doc.dump(2, ' ', false, OrderedJson::error_handler_t::replace) << "\n";
    return kExitOk;
}

int runCheck(const ZvTrack& track) {
    std::vector<std::string> findings = checkTrack(track);
    for (const std::string& finding : findings) std::cout << finding << "\n";
    return findings.empty() ? kExitOk : kExitFindings;
}

int runNew(const std::string& file) {
    auto track = std::make_unique<ZvTrack>();
    initNewZvTrack(track.get());
    return save(file, track.get());
}

int runDemo(const std::string& file) {
    auto track = std::make_unique<ZvTrack>();
    buildDemoTrack(track.get());
    return save(file, track.get());
}

int runOnLoaded(const std::string& command, const std::string& file) {
    std::unique_ptr<ZvTrack> track = load(file);
    if (!track) return kExitFailure;
    if (command == "info") return runInfo(*track);
    if (command == "dump") return runDump(*track);
    return runCheck(*track);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::cout << kUsage;
        return kExitOk;
    }
    if (argc != 3) return usageError(argc < 3 ? "expected a command and a file" : "too many arguments");
    const std::string command = argv[1];
    const std::string file = argv[2];
    if (file.empty()) return usageError("empty file name");
    if (command == "info" || command == "dump" || command == "check") return runOnLoaded(command, file);
    if (command == "new") return runNew(file);
    if (command == "demo") return runDemo(file);
    return usageError("unknown command '" + command + "'");
}
