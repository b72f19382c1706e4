// A grid for finding the straight pieces (centre-line samples, support tubes)
// near a box in space.
//
// Pieces are filed by their index under every square cell of the ground plane
// (x, z) that their footprint touches, each cell's pieces in the order of
// their highest point, from the top down. A search takes from each cell only
// the pieces whose heights may reach into the box's (their tops from its
// bottom to the greatest height of a filed piece above its top), so pieces
// stacked high above one another in one cell (the turns of a helix, vertical
// track) cost a search only those near its box's heights. Pieces with a non-finite end are
// never filed. A piece whose footprint covers more than kMaxCellsPerPiece
// cells goes to one list that every search visits, and a search whose box
// covers more cells than the grid holds visits every cell instead: no search
// costs more than a walk over all pieces, whatever the coordinates (cell
// indices are capped far beyond any track's size).
#pragma once

#include <algorithm>
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
    // A piece filed under a cell, with the height of its highest point.
    struct Entry {
        float top;
        uint32_t piece;
    };

    SegmentGrid() = default;
    SegmentGrid(const std::vector<TubeSegment>& pieces, float cellSize);

    // Calls visit(const Entry* begin, const Entry* end) for every cell whose
    // footprint may touch the box's footprint, and for the list of pieces too
    // large to file: the entries between are those whose heights may reach
    // into the box's, highest top first. A piece filed under several cells
    // comes once for each.
    template <class Visit>
    void forEachRunNear(const Box& box, Visit&& visit) const;

    // Calls visit(uint32_t index) for every piece forEachRunNear finds.
    template <class Visit>
    void forEachNear(const Box& box, Visit&& visit) const {
        forEachRunNear(box, [&visit](const Entry* begin, const Entry* end) {
            for (const Entry* entry = begin; entry != end; ++entry) visit(entry->piece);
        });
    }

    // Whether a search of this box visits every cell.
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
    template <class Visit>
    static void visitHeights(const Entry* begin, const Entry* end, float tallest, const Box& box, Visit&& visit);

    double perCell = 1;  // cells per unit of length
    std::vector<Cell> cells;  // open addressing, a power of two in size
    size_t occupied = 0;
    std::vector<size_t> filledSlots;  // the slots of `cells` that hold a cell
    std::vector<Entry> entries;     // grouped by cell, each cell's from the top down
    std::vector<Entry> everywhere;  // pieces too large to file, from the top down
    float rise = 0;                 // the greatest height of a piece filed in a cell
    float everywhereRise = 0;       // and in `everywhere`
};

// The entries of one cell (highest top first, at least one) whose piece may
// reach into the box's heights: a top at or above the box's bottom, and no
// more than `tallest`, the greatest height of a piece among them, above its
// top.
template <class Visit>
void SegmentGrid::visitHeights(const Entry* begin, const Entry* end, float tallest, const Box& box, Visit&& visit) {
    const float highest = box.hi.y + tallest;
    // Most searches take a whole cell.
    const Entry* first = begin->top <= highest ? begin : std::partition_point(begin, end, [highest](const Entry& e) {
        return e.top > highest;
    });
    const Entry* last = first == end || end[-1].top >= box.lo.y
                            ? end
                            : std::partition_point(first, end, [&box](const Entry& e) { return e.top >= box.lo.y; });
    visit(first, last);
}

template <class Visit>
void SegmentGrid::forEachRunNear(const Box& box, Visit&& visit) const {
    if (!everywhere.empty()) {
        visitHeights(everywhere.data(), everywhere.data() + everywhere.size(), everywhereRise, box, visit);
    }
    const Entry* all = entries.data();
    if (coversAll(box)) {
        for (const size_t slot : filledSlots) {
            const Cell& cell = cells[slot];
            visitHeights(all + cell.begin, all + cell.end, rise, box, visit);
        }
        return;
    }
    const Span columns = cellSpan(box.lo.x, box.hi.x);
    const Span rows = cellSpan(box.lo.z, box.hi.z);
    for (int64_t column = columns.lo; column <= columns.hi; ++column) {
        for (int64_t row = rows.lo; row <= rows.hi; ++row) {
            const Cell& cell = cells[slotOf(keyOf(column, row))];
            if (cell.begin != cell.end) visitHeights(all + cell.begin, all + cell.end, rise, box, visit);
        }
    }
}
