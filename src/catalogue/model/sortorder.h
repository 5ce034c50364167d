#pragma once

#include "appex.h"
#include "sortcode.h"

#include <vector>

namespace SortOrder {

// The order of `records` for `sortCode`, as the positions of the records in
// their new order. Ascending and stable:
//   SDK:    by SDK, then name, ignoring case;
//   Parent: by parent name, then name, ignoring case;
//   UUID:   by UUID, respecting case;
//   Name:   by name, ignoring case.
// Keys compare by Unicode scalar value after canonical normalisation; there
// is no locale collation.
[[nodiscard]] std::vector<qsizetype> order(const AppexList &records, SortCode sortCode);

// `records` rearranged into `order`.
void apply(AppexList &records, const std::vector<qsizetype> &order);

} // namespace SortOrder
