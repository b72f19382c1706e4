// zvtrack: the track author's toolkit. Shows, checks and creates .zvtrack
// files, and places markers along a track.
//
//   zvtrack COMMAND [OPTION]... FILE..., zvtrack [COMMAND] --help, zvtrack --version
//
// Options follow the conventions of parseArguments (commandOptions.h) and may
// stand anywhere. Exit status: 0 done, 1 `check` or `clearance` found
// something, 2 a usage error or a file that could not be loaded or written;
// a closed pipe on stdout ends it by SIGPIPE.
// Problems go to stderr as "zvtrack: <file>: <problem>".
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "clearance.h"
#include "commandOptions.h"
#include "demoTrack.h"
#include "fileChecks.h"
#include "placement.h"
#include "safeOutput.h"
#include "track.h"
#include "trackCheck.h"
#include "trackClearance.h"
#include "trackInfo.h"
#include "trackJson.h"

namespace {

enum ExitStatus : int { kExitOk = 0, kExitFindings = 1, kExitFailure = 2 };

enum OptionCode : int { kHelp, kVersion, kForce, kClearance, kSpacing };

const std::vector<OptionSpec> kOptions = {
    {"help", 'h', false, kHelp},           {"version", 'V', false, kVersion},
    {"force", 'f', false, kForce},         {"clearance", 0, true, kClearance},
    {"spacing", 0, true, kSpacing}};

enum class CommandKind { kInfo, kDump, kCheck, kClearance, kNew, kDemo, kPlace };

// The options a command takes besides --help and --version, as bits.
enum CommandOption : unsigned {
    kNoOptions = 0,
    kTakesClearance = 1u << 0,
    kTakesSpacing = 1u << 1,
    kTakesForce = 1u << 2,
};

struct Command {
    const char* name;
    CommandKind kind;
    unsigned options;     // CommandOption bits
    const char* files;    // the operands as the usage names them: "FILE" or "IN OUT"
    const char* summary;  // one line of the general help
    const char* details;  // the command's own help, after its usage line
};

const Command kCommands[] = {
    {"info", CommandKind::kInfo, kNoOptions, "FILE",
     "short summary: version, segments, markers, supports, comments",
     "Prints a short summary of the track FILE: version, coaster style, beziers,\n"
     "segments by type, markers by node type and by segment, foundation and free\n"
     "nodes, tubes by type, terrain and author comments.\n"},
    {"dump", CommandKind::kDump, kNoOptions, "FILE", "the whole track as JSON on stdout",
     "Prints every field of the track FILE as JSON, under the names the code uses:\n"
     "texts as Latin-1, non-finite numbers as \"nan\", \"inf\" and \"-inf\". Compare\n"
     "two tracks with: diff <(zvtrack dump a.zvtrack) <(zvtrack dump b.zvtrack)\n"},
    {"check", CommandKind::kCheck, kNoOptions, "FILE", "inconsistencies and what strutwright would warn of",
     "Prints one line per inconsistency of the track FILE, naming the element first:\n"
     "tube ends naming nodes that do not exist, track-node lists that do not match\n"
     "the segments, markers on segments without a curve, numbers that are not\n"
     "finite, length words that do not match their chunk; then what strutwright\n"
     "warns of as it generates, in its words: markers outside 0..1 along their\n"
     "segment or whose structure would not be finite, nearly horizontal braces.\n"
     "Exit status 1 when it found something.\n"},
    {"clearance", CommandKind::kClearance, kTakesClearance, "FILE",
     "support structures that come too close to the track",
     "Prints one line per support structure of the track FILE that comes within R\n"
     "of the track's centre line (away from the stretch of track it hangs from),\n"
     "for its first conflict going down from the track: the tube's index, its two\n"
     "ends, the segment it comes near (from 0), how close and where. Exit status 1\n"
     "when it found any.\n"
     "\n"
     "      --clearance=R  the radius (default 1.5; 0 turns the check off)\n"},
    {"new", CommandKind::kNew, kTakesForce, "FILE", "write a new, empty track",
     "Writes a new, empty track to FILE. An existing FILE is replaced only with\n"
     "-f, --force.\n"},
    {"demo", CommandKind::kDemo, kTakesForce, "FILE", "write the example track with markers of every kind",
     "Writes the example track, a closed circuit with markers of every kind, to\n"
     "FILE. An existing FILE is replaced only with -f, --force.\n"},
    {"place", CommandKind::kPlace, kTakesSpacing | kTakesForce, "IN OUT",
     "place markers along the track IN and write it to OUT",
     "Places markers every D along the track IN, on every segment that has a curve\n"
     "and no markers of its own, each of the type the track calls for there, moved\n"
     "off places where its supports would come too close to the track, and writes\n"
     "the track to OUT (IN is never changed). Tells what it placed, moved and left\n"
     "out, and where it stopped at its limit of 1000000 markers or 2000000 places.\n"
     "\n"
     "      --spacing=D  the distance between markers along the track (default 8,\n"
     "                   at least 1)\n"
     "  -f, --force      replace an existing OUT, and place on a track that already\n"
     "                   holds support tubes (its supports would be built twice)\n"},
};

// The options of the usage lines, in the order they are shown.
const struct {
    CommandOption bit;
    const char* usage;
    const char* name;
} kCommandOptions[] = {
    {kTakesClearance, "[--clearance R]", "--clearance"},
    {kTakesSpacing, "[--spacing D]", "--spacing"},
    {kTakesForce, "[--force]", "--force"},
};

constexpr size_t kSummaryColumn = 19;

const Command* findCommand(const std::string& name) {
    for (const Command& command : kCommands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

size_t filesOf(const Command& command) {
    const std::string files = command.files;
    return static_cast<size_t>(std::count(files.begin(), files.end(), ' ')) + 1;
}

void printHelp() {
    std::cout << "Usage: zvtrack COMMAND FILE...\n"
                 "Shows, checks and creates Strutwright track files (.zvtrack), and places\n"
                 "markers along a track.\n"
                 "\n"
                 "Commands:\n";
    for (const Command& command : kCommands) {
        const std::string usage = std::string("  ") + command.name + " " + command.files;
        std::cout << usage << std::string(kSummaryColumn - usage.size(), ' ') << command.summary << "\n";
    }
    std::cout << "\n"
                 "Options:\n"
                 "      --clearance=R  clearance: the radius (default 1.5; 0: no check)\n"
                 "      --spacing=D    place: the distance between markers (default 8)\n"
                 "  -f, --force        new, demo, place: replace an existing output file;\n"
                 "                     place: also on a track that holds supports\n"
                 "  -h, --help         show this text; after a command, that command's help\n"
                 "  -V, --version      show the version\n"
                 "\n"
                 "Exit status: 0 done, 1 check or clearance found something, 2 usage error, a\n"
                 "file that could not be read or written, or output that could not be written;\n"
                 "a closed pipe ends a listing quietly. See zvtrack(1).\n";
}

void printCommandHelp(const Command& command) {
    std::cout << "Usage: zvtrack " << command.name;
    for (const auto& option : kCommandOptions) {
        if (command.options & option.bit) std::cout << " " << option.usage;
    }
    std::cout << " " << command.files << "\n" << command.details;
}

// "--force applies to new, demo and place only"
std::string notApplicable(const char* option, CommandOption bit) {
    std::vector<std::string> names;
    for (const Command& command : kCommands) {
        if (command.options & bit) names.push_back(command.name);
    }
    std::string list = names.front();
    for (size_t i = 1; i < names.size(); ++i) list += (i + 1 == names.size() ? " and " : ", ") + names[i];
    return std::string(option) + " applies to " + list + " only";
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

// A file that cannot be written is told as such first: --force would not
// help. An existing file is replaced only when the user said so.
bool mayWrite(const std::string& file, bool force) {
    const std::string problem = targetProblem(file);
    if (!problem.empty()) {
        fail(file, problem);
        return false;
    }
    struct stat status;
    if (force || lstat(file.c_str(), &status) != 0) return true;
    fail(file, "already exists; use --force to replace it");
    return false;
}

int save(const std::string& file, ZvTrack* track) {
    std::string error;
    if (!ZvSave(file.c_str(), track, &error))
        return fail(file, error.empty() ? "could not be written" : error);
    return kExitOk;
}

// Findings on stdout, one a line; exit status 1 when there are any.
int report(const std::vector<std::string>& findings) {
    for (const std::string& finding : findings) std::cout << finding << "\n";
    return findings.empty() ? kExitOk : kExitFindings;
}

// What the words ask for.
struct Request {
    bool help = false;
    bool version = false;
    unsigned given = kNoOptions;  // CommandOption bits of the options given
    float clearance = kDefaultClearanceRadius;
    float spacing = kDefaultMarkerSpacing;
    std::vector<std::string> operands;  // the command and its files
    std::string error;                  // the first word that made no sense
};

int runReading(const Request& request, CommandKind kind, const std::string& file) {
    std::unique_ptr<ZvTrack> track = load(file);
    if (!track) return kExitFailure;
    switch (kind) {
        case CommandKind::kInfo: printTrackInfo(*track, std::cout); return kExitOk;
        case CommandKind::kDump: writeTrackJson(*track, std::cout); return kExitOk;
        case CommandKind::kCheck: return report(checkTrack(track.get()));
        default: return report(clearanceFindings(*track, request.clearance));
    }
}

int runWriting(const Request& request, CommandKind kind, const std::string& file) {
    if (!mayWrite(file, request.given & kTakesForce)) return kExitFailure;
    auto track = std::make_unique<ZvTrack>();
    if (kind == CommandKind::kNew) {
        initNewZvTrack(track.get());
    } else {
        buildDemoTrack(track.get());
    }
    return save(file, track.get());
}

// Placing on a track with supports would build a second set at the new
// markers, beside the supports already there.
int runPlace(const Request& request, const std::string& input, const std::string& output) {
    const bool force = request.given & kTakesForce;
    const std::string conflict = filesConflict(input, output, "");
    if (!conflict.empty()) return usageError(conflict);
    if (!mayWrite(output, force)) return kExitFailure;
    std::unique_ptr<ZvTrack> track = load(input);
    if (!track) return kExitFailure;
    const int tubes = getTotalSupport(track.get());
    if (tubes > 0 && !force) {
        return fail(input, supportedTrackWarning(tubes) + " (use --force to place anyway)");
    }
    const PlacementReport placed = placeMarkers(track.get(), request.spacing);
    if (save(output, track.get()) != kExitOk) return kExitFailure;
    for (const ReportLine& line : placementSummary(placed, request.spacing)) std::cout << line.text << "\n";
    return kExitOk;
}

// The first problem of the words for `command`, or "".
std::string usageProblem(const Request& request, const Command& command) {
    const std::vector<std::string>& words = request.operands;
    const size_t files = filesOf(command);
    if (words.size() < files + 1) {
        return files == 1 ? "expected a command and a file"
                          : std::string(command.name) + " needs two files: " + command.files;
    }
    if (words.size() > files + 1) return "too many arguments";
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i].empty()) return "empty file name";
    }
    for (const auto& option : kCommandOptions) {
        if ((request.given & option.bit) && !(command.options & option.bit)) {
            return notApplicable(option.name, option.bit);
        }
    }
    return "";
}

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
    if (words.empty()) return usageError("expected a command and a file");
    if (!command) return usageError("unknown command '" + words[0] + "'");
    const std::string problem = usageProblem(request, *command);
    if (!problem.empty()) return usageError(problem);
    switch (command->kind) {
        case CommandKind::kNew:
        case CommandKind::kDemo: return runWriting(request, command->kind, words[1]);
        case CommandKind::kPlace: return runPlace(request, words[1], words[2]);
        default: return runReading(request, command->kind, words[1]);
    }
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
        std::string problem;
        switch (option.code) {
            case kHelp: request.help = true; break;
            case kVersion: request.version = true; break;
            case kForce: request.given |= kTakesForce; break;
            case kClearance:
                request.given |= kTakesClearance;
                problem = readNumber("--clearance", option.value, 0, &request.clearance);
                break;
            default:
                request.given |= kTakesSpacing;
                problem = readNumber("--spacing", option.value, kMinimumMarkerSpacing, &request.spacing);
                break;
        }
        if (request.error.empty()) request.error = problem;
    }
    return runCatching(request);
}

}  // namespace

int main(int argc, char** argv) {
    // A listing whose reader has gone ends there, quietly, as the standard
    // tools' do (zvtrack dump | head), even when started with SIGPIPE ignored.
    signal(SIGPIPE, SIG_DFL);
    const int status = parseAndRun(argc, argv);
    // Findings and dumps that did not reach their reader are a failure. The
    // standard stream writes through stdout's buffer, so closing stdout
    // finds its errors too.
    const std::string problem = closeStandardOutput();
    if (problem.empty()) return status;
    std::cerr << "zvtrack: " << problem << "\n";
    return kExitFailure;
}
