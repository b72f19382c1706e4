// What saving does with the paths around a track (links, protected and
// special files, names at the length limit, signals during a save), the size
// it works out first, and loads of files that are no track at all. (Special
// and oversized inputs: test_run_safety and test_zvtrack_cli, through both
// programs.)
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <thread>

#include "safeOutput.h"
#include "track_fixtures.h"

using fixture::Bytes;
using fixture::contents;
using fixture::Folder;
using fixture::saveToBytes;
using fixture::writeText;

namespace {

ZvTrack newTrack() {
    ZvTrack track;
    initNewZvTrack(&track);
    return track;
}

std::string savedText(const ZvTrack& track) {
    const Bytes bytes = saveToBytes(track);
    return std::string(bytes.begin(), bytes.end());
}

TEST(LinkPolicy, ALinkAtTheTargetIsReplacedAndWhatItNamesIsNeverWritten) {
    Folder folder;
    const ZvTrack track = newTrack();
    writeText(folder.file("victim.zvtrack"), "the author's own track");
    ASSERT_EQ(symlink("victim.zvtrack", folder.file("link.zvtrack").c_str()), 0);
    ASSERT_EQ(symlink("nowhere/at/all", folder.file("dangling.zvtrack").c_str()), 0);
    ASSERT_EQ(symlink("victim.zvtrack", folder.file("second.zvtrack").c_str()), 0);
    ASSERT_EQ(symlink(folder.file("second.zvtrack").c_str(), folder.file("chain.zvtrack").c_str()), 0);
    for (const char* name : {"link.zvtrack", "dangling.zvtrack", "chain.zvtrack"}) {
        std::string error;
        ZvTrack copy = track;
        ASSERT_EQ(ZvSave(folder.file(name).c_str(), &copy, &error), 1) << error;
        struct stat status;
        lstat(folder.file(name).c_str(), &status);
        EXPECT_TRUE(S_ISREG(status.st_mode)) << name;
        EXPECT_EQ(contents(folder.file(name)), savedText(track)) << name;
    }
    EXPECT_EQ(contents(folder.file("victim.zvtrack")), "the author's own track");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"victim.zvtrack", "link.zvtrack", "dangling.zvtrack",
                                                       "second.zvtrack", "chain.zvtrack"}));
}

// A link that stands for a device or for the process's own files, or that
// leads to anything but a regular file, is not the author's output: it is
// refused and stays as it was, whatever lies behind it.
TEST(LinkPolicy, LinksIntoDevOrProcOrToSpecialFilesAreRefusedUnchanged) {
    Folder folder;
    ZvTrack track = newTrack();
    ASSERT_EQ(mkdir(folder.file("sub").c_str(), 0755), 0);
    writeText(folder.file("sub/kept.zvtrack"), "the author's own track");
    const std::pair<const char*, const char*> links[] = {
        {"stdout.zvtrack", "/proc/self/fd/1"},
        {"null.zvtrack", "/dev/null"},
        {"chain.zvtrack", "null.zvtrack"},                // through a second link to a device
        {"via-proc.zvtrack", "/proc/self/cwd/anything"},  // a file, but named through /proc
        {"folder.zvtrack", "sub"},
        {"loop.zvtrack", "loop.zvtrack"},
    };
    for (const auto& [name, target] : links) ASSERT_EQ(symlink(target, folder.file(name).c_str()), 0);
    const std::set<std::string> before = folder.entries();
    for (const auto& [name, target] : links) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_EQ(ZvSave(folder.file(name).c_str(), &track, &error), 0);
        EXPECT_EQ(error, folder.file(name) + ": not a regular file (a link to " + target + ")");
        char kept[PATH_MAX] = {};
        ASSERT_GT(readlink(folder.file(name).c_str(), kept, sizeof kept - 1), 0);
        EXPECT_STREQ(kept, target);
    }
    EXPECT_EQ(folder.entries(), before);
    EXPECT_EQ(contents(folder.file("sub/kept.zvtrack")), "the author's own track");
}

TEST(LinkPolicy, ProtectedAndSpecialTargetsAreRefusedUntouched) {
    Folder folder;
    ZvTrack track = newTrack();
    const std::string protectedFile = folder.file("protected.zvtrack");
    writeText(protectedFile, "kept as it is");
    chmod(protectedFile.c_str(), 0444);
    const std::string fifo = folder.file("fifo.zvtrack");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::pair<std::string, const char*> cases[] = {
        {protectedFile, "write-protected"}, {fifo, "not a regular file"}, {folder.file(""), "not a regular file"}};
    for (const auto& [path, problem] : cases) {
        std::string error;
        EXPECT_EQ(ZvSave(path.c_str(), &track, &error), 0) << path;
        EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(problem), std::string::npos) << error;
    }
    EXPECT_EQ(contents(protectedFile), "kept as it is");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"protected.zvtrack", "fifo.zvtrack"}));
}

// The longest legal name leaves no room for a suffix: the temporary name
// must not grow with it.
TEST(LinkPolicy, TheLongestLegalNameCanBeWritten) {
    Folder folder;
    ZvTrack track = newTrack();
    const std::string name(NAME_MAX, 'n');
    std::string error;
    EXPECT_EQ(ZvSave(folder.file(name).c_str(), &track, &error), 1) << error;
    EXPECT_EQ(folder.entries(), std::set<std::string>{name});
}

TEST(LinkPolicy, TheSignalHandlersLastOnlyAsLongAsTheSave) {
    Folder folder;
    ZvTrack track = newTrack();
    struct sigaction before, after;
    sigaction(SIGINT, nullptr, &before);
    ASSERT_EQ(ZvSave(folder.file("t.zvtrack").c_str(), &track), 1);
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(before.sa_handler, after.sa_handler);
}

// A child saves a large track over and over, so nearly all of its time is
// spent inside a save; the signal must end it as the signal does, leaving the
// target either absent or whole, and nothing else.
TEST(LinkPolicy, InterruptingSignalsLeaveNoTemporaryFileBehind) {
    constexpr size_t kCommentBytes = size_t{24} << 20;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        Folder folder;
        const std::string target = folder.file("large.zvtrack");
        ZvTrack track = newTrack();
        setOwnedAuthorComments(std::string(kCommentBytes, 'c'), &track);
        const uint64_t size = ZvFileSize(&track);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            ZvSave(target.c_str(), &track);
            (void)!write(ready[1], "x", 1);
            for (;;) ZvSave(target.c_str(), &track);
        }
        close(ready[1]);
        char byte;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(folder.entries(), std::set<std::string>{"large.zvtrack"});
        struct stat saved;
        stat(target.c_str(), &saved);
        EXPECT_EQ(static_cast<uint64_t>(saved.st_size), size);
    }
}

// A writer that stops in the middle of the file: the file has no name while
// it is written, so SIGKILL, which no handler sees, leaves nothing, and the
// old file keeps its contents.
TEST(LinkPolicy, AWriteKilledOnTheWayLeavesNoFileBehind) {
    Folder folder;
    const std::string target = folder.file("kept.zvtrack");
    writeText(target, "the author's own track");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        writeFileSafely(target, [&](FILE* stream) {
            const std::string half(size_t{1} << 20, 'h');
            std::fwrite(half.data(), 1, half.size(), stream);
            std::fflush(stream);
            (void)!write(ready[1], "x", 1);
            for (;;) pause();
            return std::string();
        });
        _exit(0);
    }
    close(ready[1]);
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"kept.zvtrack"}) << "a file with a name while written";
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"kept.zvtrack"});
    EXPECT_EQ(contents(target), "the author's own track");
}

TEST(FileSize, IsWhatTheSaverWrites) {
    ZvTrack every;
    fixture::fillEveryChunk(&every);
    ZvTrack withoutTerrain = every;
    withoutTerrain.hasTerrain = 0;
    ZvTrack empty;
    for (const ZvTrack* track : {&every, &withoutTerrain, &empty}) {
        EXPECT_EQ(ZvFileSize(track), saveToBytes(*track).size());
    }
    const ZvTrack fresh = newTrack();
    EXPECT_EQ(ZvFileSize(&fresh), 1649u + std::string(kNewTrackComments).size());
}

TEST(NotATrack, AFailedLoadSaysFirstWhenTheFileDoesNotBeginAsATrack) {
    const std::string notes = "Remember to look at the TUBE chunk before the ride opens.\n";
    ZvTrack track;
    ZvLoadReport report;
    EXPECT_EQ(ZvOpenMemory(reinterpret_cast<const unsigned char*>(notes.data()), notes.size(),
                           &track, &report), 0);
    EXPECT_EQ(report.error.rfind("not a track file (it does not begin with \"ZORV\"): chunk \"TUBE\" at byte 24: ", 0),
              0u)
        << report.error;

    ZvTrack every;
    fixture::fillEveryChunk(&every);
    Bytes damaged = saveToBytes(every);
    damaged.resize(damaged.size() / 2);
    EXPECT_EQ(ZvOpenMemory(damaged.data(), damaged.size(), &track, &report), 0);
    EXPECT_EQ(report.error.rfind("chunk \"", 0), 0u) << "a damaged track is a track: " << report.error;
}

}  // namespace
