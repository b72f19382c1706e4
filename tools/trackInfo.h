// The short human summary of `zvtrack info`: version, coaster style, beziers,
// segments by type, closed or open, markers by node type and by segment
// (segments counted from 0), foundation and free nodes, tubes by type, the
// terrain size and the author comments.
#pragma once

#include <ostream>

#include "zvtrack.h"

void printTrackInfo(const ZvTrack& track, std::ostream& out);
