#pragma once

#include "appex.h"
#include "listingcomparison.h"

#include <QModelIndex>

#include <functional>
#include <optional>

class Appexer;
class QAbstractItemView;

// The records behind the rows of a view that shows the catalogue through
// any number of proxies: the window keeps no rows of its own, so each
// question goes back through the proxies to the catalogue.
namespace RecordRows {

// The catalogue's row of `index`, which is of the catalogue or of a proxy of it.
[[nodiscard]] int catalogueRow(QModelIndex index);
// The record with the focus in `view`, and how it changed; nullptr when none has it.
[[nodiscard]] const Appex *current(const QAbstractItemView &view, const Appexer &appexer);
[[nodiscard]] AppexChange currentChange(const QAbstractItemView &view);
// The older record of the changed record with the focus; none for any other.
[[nodiscard]] std::optional<Appex> currentOlder(const QAbstractItemView &view);
// A line of `text` for each selected record, in the view's order.
[[nodiscard]] QString selectedText(const QAbstractItemView &view, const Appexer &appexer,
                                   const std::function<QString(const Appex &)> &text);

} // namespace RecordRows
