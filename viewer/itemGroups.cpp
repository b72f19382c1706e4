#include "itemGroups.h"

#include <cmath>

namespace {

// Cube indices are clamped to this many cubes either side of the origin, so
// any finite coordinate has a key; points far out share the outermost cubes.
constexpr double kCellLimit = 1 << 20;
constexpr int kCellBits = 21;

uint64_t cellIndex(float coordinate) {
    const double cell = std::floor(coordinate / kGroupCell);
    return static_cast<uint64_t>(std::clamp(cell, -kCellLimit, kCellLimit - 1) + kCellLimit);
}

}  // namespace

uint64_t groupCellKey(const Point3D& p) {
    return (cellIndex(p.x) << (2 * kCellBits)) | (cellIndex(p.y) << kCellBits) | cellIndex(p.z);
}

Sphere boundingSphere(const std::vector<Sphere>& spheres) {
    if (spheres.empty()) return Sphere{{0, 0, 0}, 0};
    Point3D low = spheres[0].centre, high = low;
    for (const Sphere& s : spheres) {
        low = {std::min(low.x, s.centre.x), std::min(low.y, s.centre.y),
               std::min(low.z, s.centre.z)};
        high = {std::max(high.x, s.centre.x), std::max(high.y, s.centre.y),
                std::max(high.z, s.centre.z)};
    }
    const Point3D centre{low.x * 0.5f + high.x * 0.5f, low.y * 0.5f + high.y * 0.5f,
                         low.z * 0.5f + high.z * 0.5f};
    double radius = 0;
    for (const Sphere& s : spheres) {
        const double dx = s.centre.x - centre.x, dy = s.centre.y - centre.y,
                     dz = s.centre.z - centre.z;
        radius = std::max(radius, std::sqrt(dx * dx + dy * dy + dz * dz) + s.radius);
    }
    // Rounded up a little, so the float sphere holds every member for sure.
    return Sphere{centre, static_cast<float>(radius * (1 + 1e-5) + 1e-3)};
}
