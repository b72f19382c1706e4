// Running programs and a private X server, for the tests and the benchmarks.
//
//   startProcess  forks and runs `argv` (argv[0] a path) with DISPLAY set to
//                 display.name (or unset when empty); stdout and stderr go to
//                 the given files. With a display, the sanitizers' leak check
//                 is turned off for the child: the software GL driver leaves
//                 allocations behind when it is unloaded at exit.
//   waitForExit   the exit status; -1 on a timeout (the process is killed) or
//                 an abnormal end.
//   runCommand    runs a shell command; its exit status, stdout into *out.
//   runIntoClosedPipe  runs `argv` without a display, its stdout a pipe whose
//                 reader is gone before it starts, stderr into errPath, and
//                 SIGPIPE ignored from the start when `sigpipeIgnored`; the
//                 status as waitpid gives it (-1 on a timeout: killed).
//   XServer       a private Xvfb for the lifetime of the object.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace apptest {

// Where a program may find an X server: empty means "no DISPLAY at all".
struct Display {
    std::string name;
};

pid_t startProcess(const std::vector<std::string>& argv, const Display& display,
                   const std::string& outPath, const std::string& errPath);
int waitForExit(pid_t pid, double timeoutSeconds);
int runCommand(const std::string& command, std::string* out);
int runIntoClosedPipe(const std::vector<std::string>& argv, const std::string& errPath, bool sigpipeIgnored,
                      double timeoutSeconds);

class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    static bool available();  // whether the Xvfb binary is installed
    bool running() const { return pid_ > 0 && !display_.name.empty(); }
    const Display& display() const { return display_; }

private:
    void start();

    pid_t pid_ = -1;
    Display display_;
};

}  // namespace apptest
