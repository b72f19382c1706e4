#include "safeOutput.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// Short, so any name that is legal for the output also leaves room for it.
constexpr char kTemporaryName[] = ".strutwright-XXXXXX";
constexpr mode_t kCreateMode = 0666;  // what an ordinary create asks for before the umask
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCleanupSignalCount = sizeof kCleanupSignals / sizeof kCleanupSignals[0];

// The one temporary file being written, for the signal handler: a fixed
// buffer and a flag, since a handler may only read plain memory.
char gTemporary[PATH_MAX];
volatile sig_atomic_t gTemporaryExists = 0;
struct sigaction gPreviousActions[kCleanupSignalCount];

std::string why(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

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
// blocked while the temporary file comes into being and while it is renamed
// or removed, so the handler never sees it half-recorded.
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

    // Renames the temporary file to `path` when `keep`, else removes it;
    // "" or the problem of the rename.
    std::string finish(bool keep, const std::string& path) {
        block();
        std::string problem;
        if (keep && rename(gTemporary, path.c_str()) != 0) problem = why("cannot replace it");
        if (!keep || !problem.empty()) unlink(gTemporary);
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

// Why an existing `path` may not be replaced ("" when it may), and the mode
// the new file gets.
std::string checkTarget(const std::string& path, mode_t* mode) {
    const mode_t mask = umask(0);  // the umask can only be read by setting it
    umask(mask);
    *mode = kCreateMode & ~mask;
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || S_ISLNK(status.st_mode)) return "";
    if (!S_ISREG(status.st_mode)) return "not a regular file";
    if ((status.st_mode & S_IWUSR) == 0) {
        return "write-protected (its mode has no write permission for its owner)";
    }
    *mode = status.st_mode & 07777;
    return "";
}

// The temporary name in the folder of `path`.
std::string temporaryBeside(const std::string& path) {
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
           kTemporaryName;
}

// Hands the open temporary file to `write` and closes it; "" or the problem.
std::string fillAndClose(int fd, mode_t mode, const FileWriter& write) {
    if (fchmod(fd, mode) != 0) {
        std::string problem = why("cannot set the mode");
        close(fd);
        return problem;
    }
    FILE* stream = fdopen(fd, "wb");
    if (!stream) {
        std::string problem = why("cannot open a stream");
        close(fd);
        return problem;
    }
    std::string problem = write(stream);
    if (problem.empty() && (fflush(stream) != 0 || ferror(stream))) problem = why("write failed");
    if (fclose(stream) != 0 && problem.empty()) problem = why("close failed");
    return problem;
}

}  // namespace

std::string writeFileSafely(const std::string& path, const FileWriter& write) {
    if (path.empty()) return "no file name given";
    mode_t mode = 0;
    std::string problem = checkTarget(path, &mode);
    if (!problem.empty()) return problem;
    const std::string temporary = temporaryBeside(path);
    if (temporary.size() >= sizeof gTemporary) return "the name of its folder is too long";

    TemporaryFileGuard guard;
    const int fd = guard.create(temporary);
    if (fd < 0) return why("cannot create a file beside it");
    problem = fillAndClose(fd, mode, write);
    const std::string renameProblem = guard.finish(problem.empty(), path);
    return problem.empty() ? renameProblem : problem;
}

// The reason is known only when this flush or the close fails; an error met
// by an earlier write is reported without one.
std::string closeStandardOutput() {
    const bool flushed = fflush(stdout) == 0;
    const int flushError = errno;
    const bool clean = flushed && !ferror(stdout);
    const bool closed = fclose(stdout) == 0;
    if (clean && closed) return "";
    const char* reason = !flushed ? std::strerror(flushError)
                         : !closed ? std::strerror(errno)
                                   : "a write failed";
    return std::string("cannot write the standard output: ") + reason;
}
