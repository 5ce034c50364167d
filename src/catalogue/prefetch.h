#pragma once

#include "appex.h"
#include "listingcomparison.h"

#include <array>
#include <span>

// A pass over many records reads fields that lie scattered over a listing
// far larger than the processor's caches, and would wait for memory at each.
// Asking for the fields of a record some places ahead hides that wait.
namespace Prefetch {

// Enough records ahead to cover the wait, few enough that what is fetched is
// still cached when read.
constexpr qsizetype distance = 8;

// Every field a record holds as text.
constexpr std::array<AppexField, 10> textFields = {
    AppexField::SDK,        AppexField::Name,     AppexField::Path,       AppexField::ParentPath,
    AppexField::ParentName, AppexField::Uuid,     AppexField::Identifier, AppexField::Version,
    AppexField::Point,      AppexField::Timestamp};

// Asks for `wanted` fields of the record `distance` places after `at` in
// `records`, if there is one; `recordOf` gives an element's record.
template<typename Records, typename RecordOf>
void ahead(const Records &records, qsizetype at, std::span<const AppexField> wanted,
           RecordOf recordOf)
{
    if (at + distance >= records.size())
        return;
    const Appex &record = recordOf(records[at + distance]);
    for (const AppexField field : wanted)
        __builtin_prefetch(record.bytes(field).data());
}

inline void ahead(const AppexList &records, qsizetype at, std::span<const AppexField> wanted)
{
    ahead(records, at, wanted, [](const Appex &record) -> const Appex & { return record; });
}

inline void ahead(const ListingRecords &records, qsizetype at, std::span<const AppexField> wanted)
{
    if (at + distance >= records.count)
        return;
    const Appex &record = records.at(at + distance);
    for (const AppexField field : wanted)
        __builtin_prefetch(record.bytes(field).data());
}

} // namespace Prefetch
