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

// The record the user chose in `view`: the row with the focus, while it is
// selected; and how it changed. None when no row has it, or when the focus
// lies on a row that is not selected (the view gives a row the focus when
// it gets the keyboard, and a search that hides the chosen row moves the
// focus to a neighbour): commands act only on a choice the user sees.
[[nodiscard]] std::optional<Appex> current(const QAbstractItemView &view);
[[nodiscard]] AppexChange currentChange(const QAbstractItemView &view);
// The older record of the changed record chosen; none for any other.
[[nodiscard]] std::optional<Appex> currentOlder(const QAbstractItemView &view);
// A line of `text` for each selected record, in the view's order.
[[nodiscard]] QString selectedText(const QAbstractItemView &view,
                                   const std::function<QString(const Appex &)> &text);

// Chooses the row of `record`, as a listing made since holds it: the row of
// the same identifier and UUID, else of the same identifier and path.
// Whether there is one among the rows shown.
bool choose(QAbstractItemView &view, const Appex &record);

} // namespace RecordRows
