#include "segmentGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A piece whose footprint covers more cells than this is not filed by cell.
constexpr uint64_t kMaxCellsPerPiece = 16;
// Cell indices are capped here, so keys stay distinct from the empty key and
// every product of spans fits in 64 bits.
constexpr int64_t kCellLimit = int64_t{1} << 30;
constexpr int64_t kEmptyKey = std::numeric_limits<int64_t>::min();
constexpr uint64_t kHashFactor = 0x9E3779B97F4A7C15ull;
constexpr size_t kFirstTableSize = 64;

bool finitePoint(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

bool isFinite(const TubeSegment& piece) { return finitePoint(piece.from) && finitePoint(piece.to); }

SegmentGrid::SegmentGrid(const std::vector<TubeSegment>& pieces, float size) : cellSize(size) {
    // Pieces too large to file go to `everywhere`.
    std::vector<char> filed(pieces.size(), 0);
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (!isFinite(pieces[i])) continue;
        const Box box = boxAround(pieces[i].from, pieces[i].to);
        const uint64_t covered = cellsCovered(box);
        if (covered > kMaxCellsPerPiece) {
            everywhere.push_back({pieces[i].from, pieces[i].to, static_cast<uint32_t>(i)});
            continue;
        }
        filed[i] = 1;
    }
    // Stacked laps share their cells, so the table starts small and grows.
    cells.assign(kFirstTableSize, Cell{kEmptyKey, 0, 0});

    // Then count the entries of each cell, lay the cells out one after the
    // other, and fill them.
    auto forEachCell = [this, &pieces, &filed](auto&& onCell) {
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (!filed[i]) continue;
            const Box box = boxAround(pieces[i].from, pieces[i].to);
            const Span columns = cellSpan(box.lo.x, box.hi.x);
            const Span rows = cellSpan(box.lo.z, box.hi.z);
            for (int64_t column = columns.lo; column <= columns.hi; ++column) {
                for (int64_t row = rows.lo; row <= rows.hi; ++row) onCell(keyOf(column, row), i);
            }
        }
    };
    forEachCell([this](int64_t key, size_t) { ++cells[claimSlot(key)].end; });
    uint32_t next = 0;
    for (Cell& cell : cells) {
        const uint32_t count = cell.end;
        cell.begin = cell.end = next;
        next += count;
    }
    entries.resize(next);
    forEachCell([this, &pieces](int64_t key, size_t i) {
        Cell& cell = cells[slotOf(key)];
        entries[cell.end++] = {pieces[i].from, pieces[i].to, static_cast<uint32_t>(i)};
    });
    for (const Cell& cell : cells) {
        std::sort(entries.begin() + cell.begin, entries.begin() + cell.end,
                  [](const Entry& a, const Entry& b) { return lowest(a) < lowest(b); });
    }
}

bool SegmentGrid::coversAll(const Box& box) const { return cellsCovered(box) > occupied; }

SegmentGrid::Span SegmentGrid::cellSpan(float lo, float hi) const {
    auto index = [this](float v) {
        const double cell = std::floor(static_cast<double>(v) / cellSize);
        if (!(cell > -kCellLimit)) return -kCellLimit;  // NaN included
        return cell < kCellLimit ? static_cast<int64_t>(cell) : kCellLimit;
    };
    return {index(lo), index(hi)};
}

int64_t SegmentGrid::keyOf(int64_t column, int64_t row) {
    return static_cast<int64_t>(static_cast<uint64_t>(column) << 32) ^
           static_cast<int64_t>(static_cast<uint32_t>(row));
}

// The slot holding `key`, or the empty slot where it would go.
size_t SegmentGrid::slotOf(int64_t key) const {
    const size_t mask = cells.size() - 1;
    size_t slot = static_cast<size_t>((static_cast<uint64_t>(key) * kHashFactor) >> 20) & mask;
    while (cells[slot].key != key && cells[slot].key != kEmptyKey) slot = (slot + 1) & mask;
    return slot;
}

// The slot of `key`, taken for it when it has none; the table doubles when
// half full.
size_t SegmentGrid::claimSlot(int64_t key) {
    size_t slot = slotOf(key);
    if (cells[slot].key == key) return slot;
    if (2 * (occupied + 1) > cells.size()) {
        std::vector<Cell> old(2 * cells.size(), Cell{kEmptyKey, 0, 0});
        old.swap(cells);
        for (const Cell& cell : old) {
            if (cell.key != kEmptyKey) cells[slotOf(cell.key)] = cell;
        }
        slot = slotOf(key);
    }
    cells[slot].key = key;
    ++occupied;
    return slot;
}

uint64_t SegmentGrid::cellsCovered(const Box& box) const {
    const Span columns = cellSpan(box.lo.x, box.hi.x);
    const Span rows = cellSpan(box.lo.z, box.hi.z);
    if (columns.hi < columns.lo || rows.hi < rows.lo) return 0;
    return static_cast<uint64_t>(columns.hi - columns.lo + 1) *
           static_cast<uint64_t>(rows.hi - rows.lo + 1);
}
