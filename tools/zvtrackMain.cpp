// zvtrack: the track author's toolkit. Shows, checks and creates .zvtrack files.
//
// Exit status: 0 done, 1 `check` found something, 2 a usage error or a file
// that could not be loaded or written. Problems go to stderr as
// "zvtrack: <file>: <problem>".
#include <sys/stat.h>

#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

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
    "  new FILE     write a new, empty track (--force: replace an existing file)\n"
    "  demo FILE    write the example track with markers of every kind (--force too)\n"
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

// Loads FILE; on failure reports it and returns null. A warning of the load
// (stray bytes at the end) is told and the file used.
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
    if (!report.warning.empty()) std::cerr << "zvtrack: " << report.warning << "\n";
    return track;
}

// Writes a new file; an existing one is replaced only when the user said so.
int save(const std::string& file, ZvTrack* track, bool force) {
    struct stat status;
    if (!force && lstat(file.c_str(), &status) == 0) {
        return fail(file, "already exists; use --force to replace it");
    }
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
    writeTrackJson(track, std::cout);
    return kExitOk;
}

int runCheck(const ZvTrack& track) {
    std::vector<std::string> findings = checkTrack(track);
    for (const std::string& finding : findings) std::cout << finding << "\n";
    return findings.empty() ? kExitOk : kExitFindings;
}

int runNew(const std::string& file, bool force) {
    auto track = std::make_unique<ZvTrack>();
    initNewZvTrack(track.get());
    return save(file, track.get(), force);
}

int runDemo(const std::string& file, bool force) {
    auto track = std::make_unique<ZvTrack>();
    buildDemoTrack(track.get());
    return save(file, track.get(), force);
}

int runOnLoaded(const std::string& command, const std::string& file) {
    std::unique_ptr<ZvTrack> track = load(file);
    if (!track) return kExitFailure;
    if (command == "info") return runInfo(*track);
    if (command == "dump") return runDump(*track);
    return runCheck(*track);
}

int run(const std::vector<std::string>& words, bool force) {
    if (words.size() != 2) {
        return usageError(words.size() < 2 ? "expected a command and a file" : "too many arguments");
    }
    const std::string& command = words[0];
    const std::string& file = words[1];
    if (file.empty()) return usageError("empty file name");
    const bool reads = command == "info" || command == "dump" || command == "check";
    if (force && reads) return usageError("--force applies to new and demo only");
    if (reads) return runOnLoaded(command, file);
    if (command == "new") return runNew(file, force);
    if (command == "demo") return runDemo(file, force);
    return usageError("unknown command '" + command + "'");
}

// Whatever goes wrong is told with the file it happened to.
int runCatching(const std::vector<std::string>& words, bool force) {
    const std::string file = words.size() > 1 ? words[1] : "zvtrack";
    try {
        return run(words, force);
    } catch (const std::bad_alloc&) {
        return fail(file, "out of memory");
    } catch (const std::exception& error) {
        return fail(file, error.what());
    }
}

}  // namespace

int main(int argc, char** argv) {
    int status = kExitOk;
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::cout << kUsage;
    } else {
        std::vector<std::string> words;
        bool force = false;
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--force") == 0) force = true;
            else words.push_back(argv[i]);
        }
        status = runCatching(words, force);
    }
    // Findings and dumps that did not reach their reader are a failure. The
    // standard stream writes through stdout's buffer, so closing stdout
    // finds its errors too.
    const std::string problem = closeStandardOutput();
    if (problem.empty()) return status;
    std::cerr << "zvtrack: " << problem << "\n";
    return kExitFailure;
}
