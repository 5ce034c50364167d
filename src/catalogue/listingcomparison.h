#pragma once

#include "appex.h"

#include <QList>

#include <functional>
#include <optional>

// How a record of a newer listing differs from an older one.
// changeSymbol() and changeWord() read a table in this order.
enum class AppexChange { Unchanged, Added, Changed, Removed };

struct ComparedAppex
{
    AppexChange change;
    Appex record;                    // the newer record; for a removed one, the older
    qsizetype listingPosition;       // of the record, in its listing
    std::optional<Appex> older = {}; // of a changed record
};

// The records of one listing in the listing's own order: `count` of them,
// the i-th by `at`. A list of records converts to it; it must outlive it.
struct ListingRecords
{
    ListingRecords(const AppexList &records) // NOLINT: converts on purpose
        : count(records.size())
        , at([&records](qsizetype i) -> const Appex & { return records[i]; })
    {}
    ListingRecords(qsizetype recordCount, std::function<const Appex &(qsizetype i)> recordAt)
        : count(recordCount)
        , at(std::move(recordAt))
    {}

    qsizetype count;
    std::function<const Appex &(qsizetype i)> at;
};

// The records that differ between two listings. Records pair up by identifier
// and path: those with the same UUID too first, then the rest of a key, the
// first in one listing with the first in the other, in the listings' own
// orders. A pair differs when its SDK, name, parent name,
// parent path, version or election do. Added and changed records come in the
// newer listing's order, then the removed ones in the older's; unchanged pairs
// are left out.
[[nodiscard]] QList<ComparedAppex> compareListings(const ListingRecords &older,
                                                   const ListingRecords &newer);

// `changes` in the order of `sortCode` within each of its two parts, added
// and changed, then removed: as they come in the newer and in the older
// listing sorted so.
void sortChanges(QList<ComparedAppex> &changes, qint64 sortCode);

// The fields that differ between a record and its older self, in the order
// of appexFields.
[[nodiscard]] QList<AppexField> changedFields(const Appex &older, const Appex &newer);

// The symbol of a change in the CLI's TSV ("+", "-", "~") and its word in
// JSON ("added", "removed", "changed"); empty for an unchanged record.
[[nodiscard]] QByteArrayView changeSymbol(AppexChange change);
[[nodiscard]] QByteArrayView changeWord(AppexChange change);
