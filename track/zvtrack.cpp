#include "zvtrack.h"

namespace {
bool inTerrainGrid(int row, int column) {
    return row >= 0 && row < kTerrainMaxRows && column >= 0 && column < kTerrainMaxColumns;
}

size_t terrainCell(int row, int column) {
    return static_cast<size_t>(row) * kTerrainMaxColumns + static_cast<size_t>(column);
}
}  // namespace

float terrainHeight(const ZvTrack* track, int row, int column) {
    if (track->terrainHeights.empty() || !inTerrainGrid(row, column)) return 0.0f;
    return track->terrainHeights[terrainCell(row, column)];
}

void setTerrainHeight(int row, int column, float height, ZvTrack* track) {
    if (!inTerrainGrid(row, column)) return;
    if (track->terrainHeights.empty()) {
        track->terrainHeights.assign(static_cast<size_t>(kTerrainMaxRows) * kTerrainMaxColumns,
                                     0.0f);
    }
    track->terrainHeights[terrainCell(row, column)] = height;
}
