#include "safeOutput.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "fileChecks.h"

namespace {

// Short, so any name that is legal for the output also leaves room for it.
constexpr char kTemporaryName[] = ".strutwright-XXXXXX";
constexpr size_t kRandomLetters = 6;  // the X's of kTemporaryName
constexpr int kNamingAttempts = 100;  // names tried before giving up, as mkostemp does
constexpr int kMostLinks = 40;        // links followed from the output, as the kernel does
constexpr mode_t kCreateMode = 0666;  // what an ordinary create asks for before the umask
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCleanupSignalCount = sizeof kCleanupSignals / sizeof kCleanupSignals[0];

// The one temporary file being written, for the signal handler: a fixed
// buffer and a flag, since a handler may only read plain memory.
char gTemporary[PATH_MAX];
volatile sig_atomic_t gTemporaryExists = 0;
struct sigaction gPreviousActions[kCleanupSignalCount];

// Why a flush of standard output first failed; 0 while none has.
int gStandardOutputError = 0;

std::string why(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Six letters or digits for the X's of a temporary name: random where the
// kernel offers it, else from the clock.
void fillRandomLetters(char* letters) {
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char random[kRandomLetters];
    if (getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        timespec now = {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        for (size_t i = 0; i < kRandomLetters; ++i) random[i] = static_cast<unsigned char>(now.tv_nsec >> (5 * i));
    }
    for (size_t i = 0; i < kRandomLetters; ++i) letters[i] = kAlphabet[random[i] % (sizeof kAlphabet - 1)];
}

// Links the unnamed file `fd` to `name`: through /proc where it is mounted,
// else by the descriptor itself, which only root may do. 0, or -1 and errno.
int linkUnnamed(int fd, const char* name) {
    if (access("/proc/self/fd", F_OK) != 0) return linkat(fd, "", AT_FDCWD, name, AT_EMPTY_PATH);
    char procPath[32];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    return linkat(AT_FDCWD, procPath, AT_FDCWD, name, AT_SYMLINK_FOLLOW);
}

// Removes the temporary file, puts back what the process did on the signal
// before and raises it again; it is delivered once the handler returns.
extern "C" void removeTemporaryAndReraise(int signal) {
    if (gTemporaryExists) unlink(gTemporary);
    gTemporaryExists = 0;
    for (int i = 0; i < kCleanupSignalCount; ++i) {
        if (kCleanupSignals[i] == signal) sigaction(signal, &gPreviousActions[i], nullptr);
    }
    raise(signal);
}

// Installs the handler for the life of one write. The cleanup signals are
// blocked while the temporary name comes into being (with a new file, or
// for a complete unnamed one) and while it is renamed or removed, so the
// handler never sees it half-recorded.
class TemporaryFileGuard {
public:
    TemporaryFileGuard() {
        struct sigaction action = {};
        action.sa_handler = removeTemporaryAndReraise;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < kCleanupSignalCount; ++i) {
            sigaddset(&cleanupSignals_, kCleanupSignals[i]);
            sigaction(kCleanupSignals[i], nullptr, &gPreviousActions[i]);
            installed_[i] = gPreviousActions[i].sa_handler != SIG_IGN;
            if (installed_[i]) sigaction(kCleanupSignals[i], &action, nullptr);
        }
    }
    ~TemporaryFileGuard() {
        for (int i = 0; i < kCleanupSignalCount; ++i) {
            if (installed_[i]) sigaction(kCleanupSignals[i], &gPreviousActions[i], nullptr);
        }
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    // Creates the temporary file from the template `name`; its descriptor or -1.
    int create(const std::string& name) {
        block();
        std::memcpy(gTemporary, name.c_str(), name.size() + 1);
        const int fd = mkostemp(gTemporary, O_CLOEXEC);
        gTemporaryExists = fd >= 0;
        unblock();
        return fd;
    }

    // Gives the complete unnamed file `fd` a name from the template
    // `templateName`;
    // "" or the problem.
    std::string name(int fd, const std::string& templateName) {
        block();
        std::memcpy(gTemporary, templateName.c_str(), templateName.size() + 1);
        int linked = -1;
        for (int attempt = 0; attempt < kNamingAttempts && linked != 0; ++attempt) {
            fillRandomLetters(gTemporary + templateName.size() - kRandomLetters);
            linked = linkUnnamed(fd, gTemporary);
            if (linked != 0 && errno != EEXIST) break;
        }
        std::string problem;
        if (linked != 0) problem = why("cannot name the new file");
        gTemporaryExists = linked == 0;
        unblock();
        return problem;
    }

    // Renames the temporary file to `path` when `keep`, else removes it;
    // "" or the problem of the rename.
    std::string finish(bool keep, const std::string& path) {
        block();
        std::string problem;
        if (gTemporaryExists) {
            if (keep && rename(gTemporary, path.c_str()) != 0) problem = why("cannot replace it");
            if (!keep || !problem.empty()) unlink(gTemporary);
        }
        gTemporaryExists = 0;
        unblock();
        return problem;
    }

private:
    void block() { sigprocmask(SIG_BLOCK, &cleanupSignals_, &previousMask_); }
    void unblock() { sigprocmask(SIG_SETMASK, &previousMask_, nullptr); }

    sigset_t cleanupSignals_ = {};
    sigset_t previousMask_ = {};
    bool installed_[kCleanupSignalCount] = {};
};

// Where the symbolic link at `path` points, as written in it.
std::string linkText(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

// Whether the symbolic link at `path` may be replaced: it leads, through
// every link, to a regular file or to nothing, and never into /dev or /proc.
bool replaceableLink(const std::string& path) {
    std::string hop = path;
    for (int links = 0; links <= kMostLinks; ++links) {
        if (!systemTree(hop).empty()) return false;
        struct stat status;
        if (lstat(hop.c_str(), &status) != 0) return errno == ENOENT || errno == ENOTDIR;
        if (!S_ISLNK(status.st_mode)) return S_ISREG(status.st_mode);
        const std::string target = linkText(hop);
        if (target.empty()) return false;
        const size_t slash = hop.rfind('/');
        hop.erase(target[0] == '/' || slash == std::string::npos ? 0 : slash + 1);
        hop += target;  // a relative target starts from the link's folder
    }
    return false;  // a loop, or a chain too long to follow
}

// The mode a new file at `path` gets: an existing file's, or 0666 less the umask.
mode_t newFileMode(const std::string& path) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) return status.st_mode & 07777;
    const mode_t mask = umask(0);  // the umask can only be read by setting it
    umask(mask);
    return kCreateMode & ~mask;
}

// The folder of `path`, ending in a slash, or "" for the current one.
std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new file without a name in the folder of `path`, where the file system
// offers one and the process can name it later (through /proc, or as root
// by its descriptor); its descriptor, or -1.
int createUnnamed(const std::string& path) {
    if (access("/proc/self/fd", F_OK) != 0 && geteuid() != 0) return -1;
    const std::string folder = folderOf(path);
    return open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kCreateMode);
}

// Sets the mode of the new file `fd` and opens a stream on it; null (and the
// descriptor closed) on failure.
FILE* streamOn(int fd, mode_t mode, std::string* problem) {
    FILE* stream = fchmod(fd, mode) == 0 ? fdopen(fd, "wb") : nullptr;
    if (stream) return stream;
    *problem = why("cannot set up the new file");
    close(fd);
    return nullptr;
}

// Hands the stream to `write`, names the file when it was created without a
// name, and closes it; "" or the problem.
std::string fillAndClose(FILE* stream, bool unnamed, const std::string& temporary,
                         const FileWriter& write, TemporaryFileGuard* guard) {
    std::string problem = write(stream);
    if (problem.empty() && (fflush(stream) != 0 || ferror(stream))) problem = why("write failed");
    if (problem.empty() && unnamed) problem = guard->name(fileno(stream), temporary);
    if (fclose(stream) != 0 && problem.empty()) problem = why("close failed");
    return problem;
}

}  // namespace

std::string targetProblem(const std::string& path) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) return "";
    if (S_ISLNK(status.st_mode)) {
        return replaceableLink(path) ? "" : "not a regular file (a link to " + linkText(path) + ")";
    }
    if (!S_ISREG(status.st_mode)) return "not a regular file";
    if ((status.st_mode & S_IWUSR) == 0) {
        return "write-protected (its mode has no write permission for its owner)";
    }
    return "";
}

// A file created without a name disappears with the process, however it
// ends; it is named only once complete, just before the rename.
std::string writeFileSafely(const std::string& path, const FileWriter& write) {
    if (path.empty()) return "no file name given";
    std::string problem = targetProblem(path);
    if (!problem.empty()) return problem;
    const std::string temporary = folderOf(path) + kTemporaryName;
    if (temporary.size() >= sizeof gTemporary) return "the name of its folder is too long";

    TemporaryFileGuard guard;
    int fd = createUnnamed(path);
    const bool unnamed = fd >= 0;
    if (!unnamed) fd = guard.create(temporary);
    if (fd < 0) return why("cannot create a file beside it");
    FILE* stream = streamOn(fd, newFileMode(path), &problem);
    if (stream) problem = fillAndClose(stream, unnamed, temporary, write, &guard);
    const std::string renameProblem = guard.finish(problem.empty(), path);
    return problem.empty() ? renameProblem : problem;
}

void flushStandardOutput() {
    if (fflush(stdout) != 0 && gStandardOutputError == 0) gStandardOutputError = errno;
}

// The reason is known only when a flush or the close failed; an error met by
// a write inside the stream is reported without one.
std::string closeStandardOutput() {
    flushStandardOutput();
    const bool clean = !ferror(stdout);
    if (fclose(stdout) != 0 && gStandardOutputError == 0) gStandardOutputError = errno;
    if (clean && gStandardOutputError == 0) return "";
    const char* reason = gStandardOutputError != 0 ? std::strerror(gStandardOutputError) : "a write failed";
    return std::string("cannot write the standard output: ") + reason;
}
