#pragma once

#include "appex.h"

#include <QList>

// The four orders of the catalogue, chosen by a sort code. Codes other than
// the four below sort as `SortCode::SDK`.
namespace SortCode {
constexpr qint64 SDK = 0;
constexpr qint64 Parent = 1;
constexpr qint64 UUID = 2;
constexpr qint64 Name = 3;
} // namespace SortCode

namespace SortOrder {

enum class Key { SDK, ParentName, Uuid, Name };

// The stable passes, in the order to run them, that give the order of `sortCode`:
// a two-key order is a pass by the secondary key followed by one by the primary.
[[nodiscard]] QList<Key> passesFor(qint64 sortCode);

// Stable ascending sort of `records` by one key: `uuid` case-sensitively, the
// others ignoring case. Keys compare by Unicode scalar value after
// normalisation; no locale collation.
void sortBy(AppexList &records, Key key);

} // namespace SortOrder
