#pragma once

#include "appexsearch.h"
#include "listingcomparison.h"

#include <span>
#include <string>
#include <vector>

// The searchable fields of many records, each lower-cased and normalised
// once, as AppexSearch compares them, side by side in one buffer: a search
// then reads memory in order instead of chasing every record's strings,
// which on a large catalogue is what lets the list follow each keystroke.
//
// The UUIDs and the other fields are indexed apart, each when first needed:
// a search of UUIDs neither waits for nor reads the rest.
class SearchIndex
{
public:
    enum class Part { Uuids, OtherFields };

    // The most the keys may take: past it, a catalogue is better searched
    // record by record than kept twice in memory.
    static constexpr size_t maxBytes = size_t(64) * 1024 * 1024;

    [[nodiscard]] bool has(Part part) const { return !keysOf(part).starts.empty(); }
    // Indexes `part` of `records`, in any order; `keys` names each, from 0
    // to the count less one, as matching() answers. False, and the part left
    // out, when the index would take more than `mostBytes`.
    [[nodiscard]] bool build(Part part, const ListingRecords &records,
                             std::span<const qsizetype> keys,
                             size_t mostBytes = SearchIndex::maxBytes);
    void clear() { *this = SearchIndex(); }
    // Takes the parts of `other`, an index of the same records, that this
    // one lacks.
    void adopt(SearchIndex other);

    // For each record by its key, whether `search` matches it, as
    // AppexSearch::matches() would; the parts its scope looks at must be
    // indexed.
    [[nodiscard]] std::vector<bool> matching(const AppexSearch &search) const;

private:
    struct Keys
    {
        std::string bytes;           // per record, each field's key and a line feed
        std::vector<size_t> starts;  // where each record's keys begin, and one past the last
        std::vector<qsizetype> keys; // of the records, in the order indexed
    };

    [[nodiscard]] const Keys &keysOf(Part part) const
    {
        return part == Part::Uuids ? m_uuids : m_otherFields;
    }
    static void addMatches(const Keys &keys, std::string_view query, std::vector<bool> &matches);

    Keys m_uuids;
    Keys m_otherFields;
};
