#pragma once

#include "appex.h"
#include "listingrecords.h"
#include "sortcode.h"

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
void sortChanges(QList<ComparedAppex> &changes, SortCode sortCode);

// The fields that differ between a record and its older self, in the order
// of appexFields.
[[nodiscard]] QList<AppexField> changedFields(const Appex &older, const Appex &newer);

// The symbol of a change in the CLI's TSV ("+", "-", "~") and its word in
// JSON ("added", "removed", "changed"); empty for an unchanged record.
[[nodiscard]] QByteArrayView changeSymbol(AppexChange change);
[[nodiscard]] QByteArrayView changeWord(AppexChange change);
