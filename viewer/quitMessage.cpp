#include "quitMessage.h"

#include <GL/freeglut.h>

namespace {
int requestedExitCode = 0;
bool requested = false;
}  // namespace

void postQuitMessage(int exitCode) {
    requestedExitCode = exitCode;
    requested = true;
    glutLeaveMainLoop();
}

int quitExitCode() { return requestedExitCode; }

bool quitRequested() { return requested; }
