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
constexpr size_t kFirstTableSize = 64;
constexpr uint64_t kHashFactor = 0x9E3779B97F4A7C15ull;
constexpr int kBlockBits = 2;  // blocks of 4 by 4 cells
constexpr uint64_t kBlockMask = (1u << kBlockBits) - 1;

// The low four bits of v moved to the even bit positions.
uint64_t spreadBits(uint64_t v) {
    uint64_t x = v & 0xFull;
    x = (x | x << 2) & 0x3333333333333333ull;
    x = (x | x << 1) & 0x5555555555555555ull;
    return x;
}

}  // namespace

SegmentGrid::SegmentGrid(const std::vector<TubeSegment>& filed, float size)
    : perCell(1.0 / size) {
    // Pieces too large to file go to `everywhere`.
    std::vector<char> byCell(filed.size(), 0);
    uint64_t references = 0;
    for (size_t i = 0; i < filed.size(); ++i) {
        if (!isFinite(filed[i])) continue;
        const Box box = boxAround(filed[i].from, filed[i].to);
        const uint64_t covered = cellsCovered(box);
        if (covered > kMaxCellsPerPiece) {
            everywhere.push_back({box.hi.y, static_cast<uint32_t>(i)});
            everywhereRise = std::max(everywhereRise, box.hi.y - box.lo.y);
        } else {
            byCell[i] = 1;
            references += covered;
            rise = std::max(rise, box.hi.y - box.lo.y);
        }
    }
    // A quarter of the references: stacked laps share their cells, and the
    // table grows when it must.
    size_t tableSize = kFirstTableSize;
    while (tableSize < references / 4) tableSize *= 2;
    cells.assign(tableSize, Cell{kEmptyKey, 0, 0});

    // Count the entries of each cell, lay the cells out one after the other,
    // fill them, and put each cell's in order from the top down.
    auto forEachCell = [this, &filed, &byCell](auto&& onCell) {
        for (size_t i = 0; i < filed.size(); ++i) {
            if (!byCell[i]) continue;
            const Box box = boxAround(filed[i].from, filed[i].to);
            const Span columns = cellSpan(box.lo.x, box.hi.x);
            const Span rows = cellSpan(box.lo.z, box.hi.z);
            for (int64_t column = columns.lo; column <= columns.hi; ++column) {
                for (int64_t row = rows.lo; row <= rows.hi; ++row) onCell(keyOf(column, row), i, box);
            }
        }
    };
    forEachCell([this](int64_t key, size_t, const Box&) { ++cells[claimSlot(key)].end; });
    uint32_t next = 0;
    for (size_t slot = 0; slot < cells.size(); ++slot) {
        Cell& cell = cells[slot];
        if (cell.key != kEmptyKey) filledSlots.push_back(slot);
        const uint32_t count = cell.end;
        cell.begin = cell.end = next;
        next += count;
    }
    entries.resize(next);
    forEachCell([this](int64_t key, size_t i, const Box& box) {
        entries[cells[slotOf(key)].end++] = {box.hi.y, static_cast<uint32_t>(i)};
    });
    // Ties go by index, so equal tracks give equal grids.
    auto fromTheTop = [](const Entry& a, const Entry& b) { return a.top > b.top || (a.top == b.top && a.piece < b.piece); };
    for (const size_t slot : filledSlots) {
        const Cell& cell = cells[slot];
        if (cell.end - cell.begin > 1) std::sort(entries.begin() + cell.begin, entries.begin() + cell.end, fromTheTop);
    }
    std::sort(everywhere.begin(), everywhere.end(), fromTheTop);
}

bool SegmentGrid::coversAll(const Box& box) const { return cellsCovered(box) > occupied; }

SegmentGrid::Span SegmentGrid::cellSpan(float lo, float hi) const {
    auto index = [this](float v) {
        const double cell = std::floor(static_cast<double>(v) * perCell);
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
    // Cells are hashed by blocks of kBlockSide by kBlockSide, whose cells
    // take neighbouring slots (column and row bits interleaved): a walk along
    // the track stays in the cache.
    const size_t mask = cells.size() - 1;
    const uint64_t column = static_cast<uint64_t>(key) >> 32;
    const uint64_t row = static_cast<uint32_t>(key);
    const uint64_t block = keyOf(static_cast<int64_t>(column >> kBlockBits), static_cast<int64_t>(row >> kBlockBits));
    const uint64_t withinBlock = spreadBits(column & kBlockMask) | spreadBits(row & kBlockMask) << 1;
    size_t slot = static_cast<size_t>(((block * kHashFactor) >> 32 << (2 * kBlockBits)) | withinBlock) & mask;
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
