// The consistency check of `zvtrack check`: reads a document, changes nothing.
//
// checkTrack returns one line per finding, each naming the element first
// ("tubeArray[4]: ...", "segment 3: ...", "FUND: ..."), or the setting for a
// brace angle; an empty list means the document is consistent and strutwright
// has nothing to warn of. It looks for:
//   - tube ends naming nodes, lists or end kinds that do not exist;
//   - a number of track-node lists other than the number of segments;
//   - markers on a segment that has no curve (no bezier to end at);
//   - NaN or infinite numbers anywhere in the document;
//   - length words of BEZR, FUND, RASC, FREN, TUBE, CATW, SCOB and ENVC that
//     differ from the stored size of their contents. The other chunks' words
//     are not fixed by their contents and are not checked;
//   - what strutwright warns of as it generates, in its words (after the
//     above): markers whose position lies outside 0..1 or whose structure
//     would not be finite, and brace angles that are nearly horizontal.
#pragma once

#include <string>
#include <vector>

#include "zvtrack.h"

std::vector<std::string> checkTrack(ZvTrack* track);

// What each checked chunk's length word should be for the document's contents.
struct ExpectedLengths {
    long long bezr, fund, rasc, fren, tube, catw, scob, envc;
};
ExpectedLengths expectedLengths(const ZvTrack& track);
