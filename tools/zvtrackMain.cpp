// zvtrack: the track author's toolkit. Shows, checks and creates .zvtrack files.
//
//   zvtrack COMMAND [--force] FILE, zvtrack [COMMAND] --help, zvtrack --version
//
// Options follow the conventions of parseArguments (commandOptions.h) and may
// stand anywhere. Exit status: 0 done, 1 `check` found something, 2 a usage
// error or a file that could not be loaded or written. Problems go to stderr
// as "zvtrack: <file>: <problem>".
#include <sys/stat.h>

#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "commandOptions.h"
#include "demoTrack.h"
#include "track.h"
#include "trackCheck.h"
#include "trackInfo.h"
#include "trackJson.h"

namespace {

enum ExitStatus : int { kExitOk = 0, kExitFindings = 1, kExitFailure = 2 };

enum OptionCode : int { kHelp, kVersion, kForce };

const std::vector<OptionSpec> kOptions = {
    {"help", 'h', false, kHelp}, {"version", 'V', false, kVersion}, {"force", 'f', false, kForce}};

enum class CommandKind { kInfo, kDump, kCheck, kNew, kDemo };

struct Command {
    const char* name;
    CommandKind kind;
    bool writes;          // creates FILE (and takes --force)
    const char* summary;  // one line of the general help
    const char* details;  // the command's own help, after its usage line
};

const Command kCommands[] = {
    {"info", CommandKind::kInfo, false,
     "short summary: version, segments, markers, supports, comments",
     "Prints a short summary of the track FILE: version, coaster style, beziers,\n"
     "segments by type, markers by node type and by segment, foundation and free\n"
     "nodes, tubes by type, terrain and author comments.\n"},
    {"dump", CommandKind::kDump, false, "the whole track as JSON on stdout",
     "Prints every field of the track FILE as JSON, under the names the code uses:\n"
     "texts as Latin-1, non-finite numbers as \"nan\", \"inf\" and \"-inf\". Compare\n"
     "two tracks with: diff <(zvtrack dump a.zvtrack) <(zvtrack dump b.zvtrack)\n"},
    {"check", CommandKind::kCheck, false, "one line per inconsistency found; changes nothing",
     "Prints one line per inconsistency of the track FILE, naming the element first:\n"
     "tube ends naming nodes that do not exist, track-node lists that do not match\n"
     "the segments, markers on segments without a curve, numbers that are not\n"
     "finite, length words that do not match their chunk. Exit status 1 when it\n"
     "found something.\n"},
    {"new", CommandKind::kNew, true, "write a new, empty track",
     "Writes a new, empty track to FILE. An existing FILE is replaced only with\n"
     "-f, --force.\n"},
    {"demo", CommandKind::kDemo, true, "write the example track with markers of every kind",
     "Writes the example track, a closed circuit with markers of every kind, to\n"
     "FILE. An existing FILE is replaced only with -f, --force.\n"},
};

const Command* findCommand(const std::string& name) {
    for (const Command& command : kCommands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

void printHelp() {
    std::cout << "Usage: zvtrack COMMAND FILE\n"
                 "Shows, checks and creates Strutwright track files (.zvtrack).\n"
                 "\n"
                 "Commands:\n";
    for (const Command& command : kCommands) {
        const std::string name = command.name;
        std::cout << "  " << name << " FILE" << std::string(8 - name.size(), ' ') << command.summary
                  << "\n";
    }
    std::cout << "\n"
                 "Options:\n"
                 "  -f, --force    new, demo: replace an existing FILE\n"
                 "  -h, --help     show this text; after a command, that command's help\n"
                 "  -V, --version  show the version\n"
                 "\n"
                 "Exit status: 0 done, 1 check found inconsistencies, 2 usage error, a file\n"
                 "that could not be read or written, or output that could not be written.\n"
                 "See zvtrack(1).\n";
}

void printCommandHelp(const Command& command) {
    std::cout << "Usage: zvtrack " << command.name << (command.writes ? " [--force]" : "")
              << " FILE\n"
              << command.details;
}

// The library's messages may already start with "<file>: "; it is not repeated.
int fail(const std::string& file, const std::string& problem) {
    const std::string prefix = file + ": ";
    const bool named = problem.compare(0, prefix.size(), prefix) == 0;
    std::cerr << "zvtrack: " << (named ? problem : prefix + problem) << "\n";
    return kExitFailure;
}

int usageError(const std::string& problem) {
    std::cerr << "zvtrack: " << problem << "\nTry 'zvtrack --help' for more information.\n";
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

int runCheck(const ZvTrack& track) {
    std::vector<std::string> findings = checkTrack(track);
    for (const std::string& finding : findings) std::cout << finding << "\n";
    return findings.empty() ? kExitOk : kExitFindings;
}

int runReading(CommandKind kind, const std::string& file) {
    std::unique_ptr<ZvTrack> track = load(file);
    if (!track) return kExitFailure;
    switch (kind) {
        case CommandKind::kInfo: printTrackInfo(*track, std::cout); return kExitOk;
        case CommandKind::kDump: writeTrackJson(*track, std::cout); return kExitOk;
        default: return runCheck(*track);
    }
}

int runWriting(CommandKind kind, const std::string& file, bool force) {
    auto track = std::make_unique<ZvTrack>();
    if (kind == CommandKind::kNew) {
        initNewZvTrack(track.get());
    } else {
        buildDemoTrack(track.get());
    }
    return save(file, track.get(), force);
}

// What the words ask for.
struct Request {
    bool help = false;
    bool version = false;
    bool force = false;
    std::vector<std::string> operands;  // the command and the file
    std::string error;                  // the first word that made no sense
};

// --help and --version win over everything else.
int run(const Request& request) {
    const std::vector<std::string>& words = request.operands;
    const Command* command = words.empty() ? nullptr : findCommand(words[0]);
    if (request.help) {
        command ? printCommandHelp(*command) : printHelp();
        return kExitOk;
    }
    if (request.version) {
        std::cout << "zvtrack " << STRUTWRIGHT_VERSION << "\n";
        return kExitOk;
    }
    if (!request.error.empty()) return usageError(request.error);
    if (!words.empty() && !command) return usageError("unknown command '" + words[0] + "'");
    if (words.size() != 2) {
        return usageError(words.size() < 2 ? "expected a command and a file" : "too many arguments");
    }
    const std::string& file = words[1];
    if (file.empty()) return usageError("empty file name");
    if (request.force && !command->writes) return usageError("--force applies to new and demo only");
    return command->writes ? runWriting(command->kind, file, request.force)
                           : runReading(command->kind, file);
}

// Whatever goes wrong is told with the file it happened to.
int runCatching(const Request& request) {
    const std::string file = request.operands.size() > 1 ? request.operands[1] : "zvtrack";
    try {
        return run(request);
    } catch (const std::bad_alloc&) {
        return fail(file, "out of memory");
    } catch (const std::exception& error) {
        return fail(file, error.what());
    }
}

int parseAndRun(int argc, char** argv) {
    const ParsedArguments parsed = parseArguments(std::vector<std::string>(argv + 1, argv + argc), kOptions);
    Request request;
    request.operands = parsed.operands;
    request.error = parsed.error;
    for (const GivenOption& option : parsed.options) {
        request.help |= option.code == kHelp;
        request.version |= option.code == kVersion;
        request.force |= option.code == kForce;
    }
    return runCatching(request);
}

}  // namespace

int main(int argc, char** argv) {
    const int status = parseAndRun(argc, argv);
    // Findings and dumps that did not reach their reader are a failure. The
    // standard stream writes through stdout's buffer, so closing stdout
    // finds its errors too.
    const std::string problem = closeStandardOutput();
    if (problem.empty()) return status;
    std::cerr << "zvtrack: " << problem << "\n";
    return kExitFailure;
}
