// Runs the support generator with the driver's settings while its entry
// indices (which it prints on stdout) go to /dev/null, so they do not mix
// with the benchmark's report.
#pragma once

#include "zvtrack.h"

void generateQuietly(ZvTrack* track);
