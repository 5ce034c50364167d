#include "recordrows.h"

#include "appexer.h"

#include <QAbstractItemView>

namespace {

std::optional<Appex> recordOf(const QVariant &record)
{
    return record.isValid() ? std::optional(record.value<Appex>()) : std::nullopt;
}

QModelIndex chosenIndex(const QAbstractItemView &view)
{
    const QModelIndex index = view.currentIndex();
    return index.isValid() && view.selectionModel()->isSelected(index) ? index : QModelIndex();
}

} // namespace

namespace RecordRows {

std::optional<Appex> current(const QAbstractItemView &view)
{
    return recordOf(chosenIndex(view).data(Appexer::RecordRole));
}

AppexChange currentChange(const QAbstractItemView &view)
{
    return AppexChange(chosenIndex(view).data(Appexer::ChangeRole).toInt());
}

std::optional<Appex> currentOlder(const QAbstractItemView &view)
{
    return recordOf(chosenIndex(view).data(Appexer::OlderRole));
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

bool choose(QAbstractItemView &view, const Appex &record)
{
    const QAbstractItemModel *rows = view.model();
    QModelIndex found;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const QModelIndex index = rows->index(row, 0);
        const Appex candidate = index.data(Appexer::RecordRole).value<Appex>();
        if (candidate.bytes(AppexField::Identifier) != record.bytes(AppexField::Identifier))
            continue;
        if (candidate.bytes(AppexField::Uuid) == record.bytes(AppexField::Uuid)) {
            found = index;
            break;
        }
        if (!found.isValid() && candidate.bytes(AppexField::Path) == record.bytes(AppexField::Path))
            found = index;
    }
    if (!found.isValid())
        return false;
    view.selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    view.scrollTo(found);
    return true;
}

} // namespace RecordRows
