#include "recordrows.h"

#include "appexer.h"

#include <QAbstractItemView>

namespace {

std::optional<Appex> recordOf(const QVariant &record)
{
    return record.isValid() ? std::optional(record.value<Appex>()) : std::nullopt;
}

} // namespace

namespace RecordRows {

std::optional<Appex> current(const QAbstractItemView &view)
{
    return recordOf(view.currentIndex().data(Appexer::RecordRole));
}

AppexChange currentChange(const QAbstractItemView &view)
{
    return AppexChange(view.currentIndex().data(Appexer::ChangeRole).toInt());
}

std::optional<Appex> currentOlder(const QAbstractItemView &view)
{
    return recordOf(view.currentIndex().data(Appexer::OlderRole));
}

QString selectedText(const QAbstractItemView &view,
                     const std::function<QString(const Appex &)> &text)
{
    QModelIndexList rows = view.selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList lines;
    for (const QModelIndex &index : rows)
        lines << text(index.data(Appexer::RecordRole).value<Appex>());
    return lines.join(u'\n');
}

} // namespace RecordRows
