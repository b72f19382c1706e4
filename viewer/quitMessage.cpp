#include "quitMessage.h"

#include <GL/freeglut.h>

namespace {
int requestedExitCode = 0;
}

void postQuitMessage(int exitCode) {
    requestedExitCode = exitCode;
    glutLeaveMainLoop();
}

int quitExitCode() { return requestedExitCode; }
