#pragma once

#include "appex.h"

#include <QList>

// How a record of a newer listing differs from an older one.
enum class AppexChange { Unchanged, Added, Changed, Removed }; // changeNames follows this order

struct ComparedAppex
{
    AppexChange change;
    Appex record; // the newer record; for a removed one, the older
};

// The records that differ between two listings. Records pair up by identifier
// and path, the first of a key in one listing with the first in the other. A
// pair differs when its SDK, name, parent name, parent path, version or
// election do. Added and changed records come in the newer listing's order,
// then the removed ones in the older's; unchanged pairs are left out.
[[nodiscard]] QList<ComparedAppex> compareListings(const AppexList &older, const AppexList &newer);

// The symbol of a change in the CLI's TSV ("+", "-", "~") and its word in
// JSON ("added", "removed", "changed"); empty for an unchanged record.
[[nodiscard]] QString changeSymbol(AppexChange change);
[[nodiscard]] QString changeWord(AppexChange change);
