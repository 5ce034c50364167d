#pragma once

#include "appex.h"

#include <vector>

// The four orders of the catalogue, chosen by a sort code. Codes other than
// the four below sort as `SortCode::SDK`.
namespace SortCode {
constexpr qint64 SDK = 0;
constexpr qint64 Parent = 1;
constexpr qint64 UUID = 2;
constexpr qint64 Name = 3;
} // namespace SortCode

namespace SortOrder {

// The order of `records` for `sortCode`, as the positions of the records in
// their new order. Ascending and stable:
//   SDK:    by SDK, then name, ignoring case;
//   Parent: by parent name, then name, ignoring case;
//   UUID:   by UUID, respecting case;
//   Name:   by name, ignoring case.
// Keys compare by Unicode scalar value after canonical normalisation; there
// is no locale collation.
[[nodiscard]] std::vector<qsizetype> order(const AppexList &records, qint64 sortCode);

// `records` rearranged into `order`.
void apply(AppexList &records, const std::vector<qsizetype> &order);

} // namespace SortOrder
