// A grid for finding the straight pieces (centre-line samples, support tubes)
// near a box in space.
//
// Pieces are filed by their index under every square cell of the ground plane
// (x, z) that their footprint touches; heights are left to the caller's own
// test, since supports run from the track down to the ground anyway. Pieces
// with a non-finite end are never filed. A piece whose footprint covers more
// than kMaxCellsPerPiece cells goes to one list that every search visits, and
// a search whose box covers more cells than the grid holds visits every filed
// piece instead: no search costs more than a walk over all pieces, whatever
// the coordinates (cell indices are capped far beyond any track's size).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pieces.h"

// An axis-aligned box.
struct Box {
    Point3D lo, hi;
};

inline Box boxAround(const Point3D& a, const Point3D& b) {
    return {{a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z},
            {a.x < b.x ? b.x : a.x, a.y < b.y ? b.y : a.y, a.z < b.z ? b.z : a.z}};
}

inline Box grown(const Box& box, float by) {
    return {{box.lo.x - by, box.lo.y - by, box.lo.z - by}, {box.hi.x + by, box.hi.y + by, box.hi.z + by}};
}

inline bool overlaps(const Box& a, const Box& b) {
    return a.lo.x <= b.hi.x && b.lo.x <= a.hi.x && a.lo.y <= b.hi.y && b.lo.y <= a.hi.y &&
           a.lo.z <= b.hi.z && b.lo.z <= a.hi.z;
}

class SegmentGrid {
public:
    SegmentGrid() = default;
    SegmentGrid(const std::vector<TubeSegment>& pieces, float cellSize);

    // Calls visit(uint32_t index) for every piece whose footprint may touch the
    // box's footprint, some of them more than once.
    template <class Visit>
    void forEachNear(const Box& box, Visit&& visit) const;

    // Whether a search of this box visits every filed piece.
    bool coversAll(const Box& box) const;

private:
    struct Cell {
        int64_t key;
        uint32_t begin, end;  // its entries in `entries`
    };
    struct Span {
        int64_t lo, hi;
    };

    Span cellSpan(float lo, float hi) const;
    static int64_t keyOf(int64_t column, int64_t row);
    size_t slotOf(int64_t key) const;
    size_t claimSlot(int64_t key);
    uint64_t cellsCovered(const Box& box) const;

    double perCell = 1;  // cells per unit of length
    std::vector<Cell> cells;  // open addressing, a power of two in size
    size_t occupied = 0;
    std::vector<uint32_t> entries;     // piece indices, grouped by cell
    std::vector<uint32_t> everywhere;  // pieces too large to file
};

template <class Visit>
void SegmentGrid::forEachNear(const Box& box, Visit&& visit) const {
    for (uint32_t id : everywhere) visit(id);
    if (coversAll(box)) {
        for (uint32_t id : entries) visit(id);
        return;
    }
    const Span columns = cellSpan(box.lo.x, box.hi.x);
    const Span rows = cellSpan(box.lo.z, box.hi.z);
    for (int64_t column = columns.lo; column <= columns.hi; ++column) {
        for (int64_t row = rows.lo; row <= rows.hi; ++row) {
            const Cell& cell = cells[slotOf(keyOf(column, row))];
            for (uint32_t i = cell.begin; i < cell.end; ++i) visit(entries[i]);
        }
    }
}
