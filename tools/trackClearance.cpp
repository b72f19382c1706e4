#include "trackClearance.h"

#include "clearance.h"
#include "reportText.h"

namespace {

constexpr int kDecimals = 2;

}  // namespace

std::vector<std::string> clearanceFindings(const ZvTrack& track, float radius) {
    std::vector<std::string> lines;
    for (const TubeConflict& conflict : checkTrackClearance(track, radius)) {
        lines.push_back("tubeArray[" + std::to_string(conflict.tube) + "]: " +
                        pointText(conflict.end1, kDecimals) + " to " + pointText(conflict.end2, kDecimals) +
                        " passes " + fixed(conflict.pass.distance, kDecimals) + " from segment " +
                        std::to_string(conflict.pass.segment) + " at " +
                        pointText(conflict.pass.supportPoint, kDecimals));
    }
    return lines;
}
