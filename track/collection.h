// Shared mechanics of the document's collections: every add appends one record
// and raises the collection's length word by one record's stored size, every
// delete of an existing record lowers it again. Indices outside a collection
// are answered without touching it: get yields a default (zero) record, modify
// and delete find nothing.
#pragma once

#include <cstdint>
#include <vector>

// Length words come from files and may hold any value; they move with
// two's-complement wrap-around instead of overflowing.
inline void moveLengthWord(int& lengthWord, int delta) {
    lengthWord = static_cast<int>(static_cast<uint32_t>(lengthWord) + static_cast<uint32_t>(delta));
}

template <typename Record>
bool inRange(const std::vector<Record>& records, int index) {
    return index >= 0 && static_cast<size_t>(index) < records.size();
}

// Appends the record and returns its index.
template <typename Record>
int appendRecord(std::vector<Record>& records, const Record& record, int& lengthWord,
                 int recordSize) {
    records.push_back(record);
    moveLengthWord(lengthWord, recordSize);
    return static_cast<int>(records.size()) - 1;
}

// Appends a default record, lets fill(record) set its fields where it lies and
// returns its index. Filling in place spares the hot adds a copy of a record
// assembled field by field elsewhere, which the processor must reload whole.
template <typename Record, typename Fill>
int appendFilledRecord(std::vector<Record>& records, int& lengthWord, int recordSize, Fill fill) {
    fill(records.emplace_back());
    moveLengthWord(lengthWord, recordSize);
    return static_cast<int>(records.size()) - 1;
}

// Removes the record at index, moving the later ones down; nothing for a bad index.
template <typename Record>
void eraseRecord(std::vector<Record>& records, int index, int& lengthWord, int recordSize) {
    if (!inRange(records, index)) return;
    records.erase(records.begin() + index);
    moveLengthWord(lengthWord, -recordSize);
}

// A copy of the record at index, or a default record for a bad index.
template <typename Record>
Record recordAt(const std::vector<Record>& records, int index) {
    return inRange(records, index) ? records[static_cast<size_t>(index)] : Record{};
}

// The record at index to change in place, or nullptr for a bad index.
template <typename Record>
Record* findRecord(std::vector<Record>& records, int index) {
    return inRange(records, index) ? &records[static_cast<size_t>(index)] : nullptr;
}

template <typename Record>
int recordCount(const std::vector<Record>& records) {
    return static_cast<int>(records.size());
}
