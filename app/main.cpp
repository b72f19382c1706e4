// The strutwright program: loads a track, builds its supports, writes
// "<track>-new.zvtrack" (or the -o file) with a banner line before the author
// comments, tells what it did on stderr (supports that come too close to the
// track among it), and shows the result in a 3D view (a module loaded only
// for the window), with those supports in the warning colour.
#include <signal.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iterator>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "batch.h"
#include "commandLine.h"
#include "exitStatus.h"
#include "fileChecks.h"
#include "reportLines.h"
#include "runSummary.h"
#include "safeOutput.h"
#include "viewerLoader.h"

namespace {

constexpr const char* kOutputSuffix = "-new.zvtrack";

ZvTrack track;

void printLine(const std::string& line) { std::fprintf(stderr, "strutwright: %s\n", line.c_str()); }

// Collects message lines and writes them to stderr in pieces: stderr is
// unbuffered, and a track whose laps stack can give thousands of clearance
// warnings.
class MessageWriter {
public:
    MessageWriter() = default;
    ~MessageWriter() { flush(); }
    MessageWriter(const MessageWriter&) = delete;
    MessageWriter& operator=(const MessageWriter&) = delete;

    void add(const std::string& line) {
        text += "strutwright: ";
        text += line;
        text += '\n';
        if (text.size() >= kPiece) flush();
    }
    void add(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) add(line);
    }

private:
    static constexpr size_t kPiece = size_t{64} * 1024;
    void flush() {
        std::fputs(text.c_str(), stderr);
        text.clear();
    }
    std::string text;
};

// Warnings and errors always, the summary unless the run is to be quiet, of
// each kind of line only the first few unless it is to be verbose; a failed
// load or save is the last thing said.
void printMessages(const BatchResult& result, const CommandLine& commandLine,
                   const std::string& output) {
    const std::string& input = commandLine.trackPath;
    std::vector<ReportLine> lines = result.warnings;
    const std::vector<StructureConflict>& conflicts = result.clearance.structures;
    std::transform(conflicts.begin(), conflicts.end(), std::back_inserter(lines),
                   [&input](const StructureConflict& conflict) {
                       return ReportLine{kClearanceLines, input + ": " + clearanceWarning(conflict)};
                   });
    if (!commandLine.quiet) {
        std::vector<ReportLine> summary = runSummary(result, {input, output});
        std::move(summary.begin(), summary.end(), std::back_inserter(lines));
    }
    if (!result.error.empty()) lines.push_back({"", result.error});
    const size_t perKind = commandLine.verbose ? SIZE_MAX : kLinesPerKind;
    MessageWriter messages;
    messages.add(capLines(std::move(lines), perKind, input));
}

int usageError(const std::string& problem) {
    printLine(problem);
    std::fputs("Try 'strutwright --help' for more information.\n", stderr);
    return kExitUsage;
}

// Load, generate, save, then the view unless it is not wanted: a track that
// was not saved is not shown.
int processAndShow(const CommandLine& commandLine, const std::string& output) {
    BatchOptions options;
    options.clearanceRadius = commandLine.clearance;
    options.markerSpacing = commandLine.placeSpacing;
    const BatchResult result = runBatch(commandLine.trackPath, output, &track, options);
    printMessages(result, commandLine, output);
    if (result.stage != BatchStage::kDone) return kExitFailure;
    flushStandardOutput();
    if (commandLine.noView) return kExitOk;
    ViewRequest view = commandLine.view;
    view.warnedTubes = result.clearance.tubes;
    return showTrack(view, &track);
}

// Runs what the command line asks for; usage errors come before any file is touched.
int run(const CommandLine& commandLine) {
    if (commandLine.help) {
        std::fputs(usageText().c_str(), stdout);
        return kExitOk;
    }
    if (commandLine.version) {
        std::printf("strutwright %s\n", STRUTWRIGHT_VERSION);
        return kExitOk;
    }
    if (!commandLine.error.empty()) return usageError(commandLine.error);
    const std::string output = commandLine.outputPath.empty()
                                   ? commandLine.trackPath + kOutputSuffix
                                   : commandLine.outputPath;
    const std::string conflict =
        filesConflict(commandLine.trackPath, output, commandLine.view.screenshotPath);
    if (!conflict.empty()) return usageError(conflict);
    const std::string tree = systemTree(output);
    if (commandLine.outputPath.empty() && !tree.empty()) {
        return usageError("the output '" + output + "' would go into " + tree + "; name it with -o");
    }
    return processAndShow(commandLine, output);
}

// Whatever goes wrong below is told with the file it happened to.
int runCatching(const CommandLine& commandLine) {
    const char* file = commandLine.trackPath.c_str();
    try {
        return run(commandLine);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "strutwright: %s: out of memory\n", file);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "strutwright: %s: %s\n", file, error.what());
    }
    return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed standard output must not end the run before the track is
    // saved; it is told at the end instead.
    signal(SIGPIPE, SIG_IGN);
    const int status = runCatching(parseCommandLine(argc, argv));
    const std::string problem = closeStandardOutput();
    if (problem.empty()) return status;
    std::fprintf(stderr, "strutwright: %s\n", problem.c_str());
    return std::max(status, static_cast<int>(kExitFailure));
}
