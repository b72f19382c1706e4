#include "processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace apptest {

namespace {

constexpr int kChildExecFailed = 127;
constexpr int kServerStartAttempts = 3;

void redirect(const std::string& path, int fd) {
    int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file >= 0) {
        dup2(file, fd);
        close(file);
    }
}

std::vector<char*> argvOf(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    return argv;
}

// The status of `pid` as waitpid gives it; -1 when it had to be killed
// after `timeoutSeconds`.
int waitStatus(pid_t pid, double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status;
}

}  // namespace

pid_t startProcess(const std::vector<std::string>& argvWords, const Display& display,
                   const std::string& outPath, const std::string& errPath) {
    std::vector<std::string> words = argvWords;
    pid_t pid = fork();
    if (pid == 0) {
        redirect(outPath, STDOUT_FILENO);
        redirect(errPath, STDERR_FILENO);
        if (display.name.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", display.name.c_str(), 1);
            const char* asanOptions = getenv("ASAN_OPTIONS");
            std::string options = asanOptions ? std::string(asanOptions) + ":" : "";
            setenv("ASAN_OPTIONS", (options + "detect_leaks=0").c_str(), 1);
        }
        std::vector<char*> argv = argvOf(words);
        execv(argv[0], argv.data());
        _exit(kChildExecFailed);
    }
    return pid;
}

int waitForExit(pid_t pid, double timeoutSeconds) {
    const int status = waitStatus(pid, timeoutSeconds);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runCommand(const std::string& command, std::string* out) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        if (out) out->append(buffer, got);
    }
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int runIntoClosedPipe(const std::vector<std::string>& argvWords, const std::string& errPath,
                      bool sigpipeIgnored, double timeoutSeconds) {
    std::vector<std::string> words = argvWords;
    int ends[2];
    if (pipe(ends) != 0) return -1;
    close(ends[0]);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(ends[1], STDOUT_FILENO);
        close(ends[1]);
        redirect(errPath, STDERR_FILENO);
        unsetenv("DISPLAY");
        signal(SIGPIPE, sigpipeIgnored ? SIG_IGN : SIG_DFL);
        std::vector<char*> argv = argvOf(words);
        execv(argv[0], argv.data());
        _exit(kChildExecFailed);
    }
    close(ends[1]);
    return waitStatus(pid, timeoutSeconds);
}

bool XServer::available() { return runCommand("command -v Xvfb >/dev/null 2>&1", nullptr) == 0; }

XServer::XServer() {
    // Servers started at the same moment can race for a display number; the
    // loser exits at once, so try a few times.
    for (int attempt = 0; attempt < kServerStartAttempts && !running(); ++attempt) start();
}

void XServer::start() {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(ready[0]);
        redirect("/dev/null", STDERR_FILENO);
        std::vector<std::string> words{"Xvfb", "-displayfd", std::to_string(ready[1]),
                                       "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
        std::vector<char*> argv = argvOf(words);
        execvp(argv[0], argv.data());
        _exit(kChildExecFailed);
    }
    close(ready[1]);
    // Xvfb writes its display number, then a newline, once it accepts clients.
    std::string number;
    char c;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (!number.empty()) {
        display_.name = ":" + number;
    } else if (pid_ > 0) {
        waitForExit(pid_, 10.0);
        pid_ = -1;
    }
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (waitForExit(pid_, 10.0) < 0) kill(pid_, SIGKILL);
}

}  // namespace apptest
