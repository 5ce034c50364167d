#include "recordrows.h"

#include "appexer.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>

namespace RecordRows {

int catalogueRow(QModelIndex index)
{
    while (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model()))
        index = proxy->mapToSource(index);
    return index.row();
}

const Appex *current(const QAbstractItemView &view, const Appexer &appexer)
{
    const QModelIndex index = view.currentIndex();
    return index.isValid() ? &appexer.recordAt(catalogueRow(index)) : nullptr;
}

AppexChange currentChange(const QAbstractItemView &view)
{
    return AppexChange(view.currentIndex().data(Appexer::ChangeRole).toInt());
}

std::optional<Appex> currentOlder(const QAbstractItemView &view)
{
    const QVariant older = view.currentIndex().data(Appexer::OlderRole);
    return older.isValid() ? std::optional(older.value<Appex>()) : std::nullopt;
}

QString selectedText(const QAbstractItemView &view, const Appexer &appexer,
                     const std::function<QString(const Appex &)> &text)
{
    QModelIndexList rows = view.selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList lines;
    for (const QModelIndex &index : rows)
        lines << text(appexer.recordAt(catalogueRow(index)));
    return lines.join(u'\n');
}

} // namespace RecordRows
