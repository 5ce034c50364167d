#pragma once

#include "appex.h"
#include "listingcomparison.h"

#include <functional>
#include <optional>

class QAbstractItemView;

// The records behind the rows of a view of the catalogue, through any
// number of proxies, as the rows' roles tell them: the window keeps no rows
// of its own.
namespace RecordRows {

// The record with the focus in `view`, and how it changed; none when no row has it.
[[nodiscard]] std::optional<Appex> current(const QAbstractItemView &view);
[[nodiscard]] AppexChange currentChange(const QAbstractItemView &view);
// The older record of the changed record with the focus; none for any other.
[[nodiscard]] std::optional<Appex> currentOlder(const QAbstractItemView &view);
// A line of `text` for each selected record, in the view's order.
[[nodiscard]] QString selectedText(const QAbstractItemView &view,
                                   const std::function<QString(const Appex &)> &text);

} // namespace RecordRows
