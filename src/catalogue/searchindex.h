#pragma once

#include "appexsearch.h"

#include <functional>
#include <string>
#include <vector>

// The searchable fields of many records, each lower-cased and normalised
// once, as AppexSearch compares them, side by side in one buffer: a search
// then reads memory in order instead of chasing every record's strings,
// which on a large catalogue is what lets the list follow each keystroke.
class SearchIndex
{
public:
    // The most the keys may take: past it, a catalogue is better searched
    // record by record than kept twice in memory.
    static constexpr size_t maxBytes = size_t(64) * 1024 * 1024;

    // The fields of `count` records, the one of each row by `recordAt`.
    // False, and the index empty, when they would take more than mostBytes.
    [[nodiscard]] bool build(int count, const std::function<const Appex &(int row)> &recordAt,
                             size_t mostBytes = SearchIndex::maxBytes);

    // For each row, whether `search` matches its record; as
    // AppexSearch::matches() would, for every row at once.
    [[nodiscard]] std::vector<bool> matching(const AppexSearch &search) const;

private:
    std::string m_keys;           // per row: the UUID's key, then the others', each ending in '\n'
    std::vector<size_t> m_starts; // where each row's keys begin, and one past the last
    std::vector<size_t> m_uuidEnds; // where each row's UUID key ends
};
