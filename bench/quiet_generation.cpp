#include "quiet_generation.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "strutWright.h"

namespace {

// Points stdout at /dev/null for its lifetime.
class SilencedStdout {
public:
    SilencedStdout() : saved_(dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            close(devNull);
        }
    }
    ~SilencedStdout() {
        std::fflush(stdout);
        if (saved_ < 0) return;
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    SilencedStdout(const SilencedStdout&) = delete;
    SilencedStdout& operator=(const SilencedStdout&) = delete;

private:
    int saved_;
};

}  // namespace

void generateQuietly(ZvTrack* track) {
    SilencedStdout silenced;
    generateWithDriverDefaults(track);
}
