#pragma once

#include "appex.h"
#include "listingrecords.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

// A pass over many records reads fields that lie scattered over a listing
// far larger than the processor's caches, and would wait for memory at each.
// Asking for the fields of a record some places ahead hides that wait.
namespace Prefetch {

// Enough records ahead to cover the wait, few enough that what is fetched is
// still cached when read.
constexpr qsizetype distance = 8;

// Asks for the `wanted` fields of `record`. They mostly lie together, in
// its block of the listing, and a field may cross from one cache line into
// the next: every line from the first field to the last is asked for. Fields
// that lie far apart are asked for one by one.
inline void fetch(const Appex &record, std::span<const AppexField> wanted)
{
    constexpr uintptr_t line = 64;
    constexpr uintptr_t together = 1024;
    uintptr_t first = UINTPTR_MAX;
    uintptr_t end = 0;
    for (const AppexField field : wanted) {
        const QByteArrayView bytes = record.bytes(field);
        if (bytes.isEmpty())
            continue;
        first = std::min(first, uintptr_t(bytes.data()));
        end = std::max(end, uintptr_t(bytes.data() + bytes.size()));
    }
    if (end <= first)
        return;
    if (end - first > together) {
        for (const AppexField field : wanted)
            __builtin_prefetch(record.bytes(field).data());
        return;
    }
    // From the last line back: the lines asked for first are the surest to
    // come, and a record's name, which most passes read first, ends its
    // block. Measured: the other way round, TSV took half as long again.
    for (uintptr_t at = (end - 1) & ~(line - 1);; at -= line) {
        __builtin_prefetch(reinterpret_cast<const void *>(at));
        if (at <= first)
            break;
    }
}

// Asks for `wanted` fields of the record `distance` places after `at` in
// `records`, if there is one; `recordOf` gives an element's record.
template<typename Records, typename RecordOf>
void ahead(const Records &records, qsizetype at, std::span<const AppexField> wanted,
           RecordOf recordOf)
{
    if (at + distance < records.size())
        fetch(recordOf(records[at + distance]), wanted);
}

inline void ahead(const AppexList &records, qsizetype at, std::span<const AppexField> wanted)
{
    ahead(records, at, wanted, [](const Appex &record) -> const Appex & { return record; });
}

inline void ahead(const ListingRecords &records, qsizetype at, std::span<const AppexField> wanted)
{
    if (at + distance < records.count)
        fetch(records.at(at + distance), wanted);
}

} // namespace Prefetch
