#include "appexcolumns.h"

#include "appexer.h"
#include "recordfacts.h"
#include "sortorder.h"

#include <QCoreApplication>

namespace {

struct ColumnInfo
{
    const char *label;
    std::optional<SortCode> sortCode;
    std::optional<AppexField> field; // the bytes it sorts by otherwise
};

// In the order of AppexColumns::Column.
const ColumnInfo columns[] = {
    {QT_TRANSLATE_NOOP("AppexColumns", "State"), {}, AppexField::Election},
    {QT_TRANSLATE_NOOP("AppexColumns", "Name"), SortCode::Name, {}},
    {QT_TRANSLATE_NOOP("AppexColumns", "Category"), SortCode::SDK, {}},
    {QT_TRANSLATE_NOOP("AppexColumns", "Parent"), SortCode::Parent, {}},
    {QT_TRANSLATE_NOOP("AppexColumns", "Version"), {}, AppexField::Version},
    {QT_TRANSLATE_NOOP("AppexColumns", "Identifier"), {}, AppexField::Identifier},
    {QT_TRANSLATE_NOOP("AppexColumns", "Registered"), {}, {}},
    {QT_TRANSLATE_NOOP("AppexColumns", "Path"), {}, AppexField::Path},
    {QT_TRANSLATE_NOOP("AppexColumns", "UUID"), SortCode::UUID, {}},
};
static_assert(std::size(columns) == AppexColumns::columnTotal);

} // namespace

AppexColumns::AppexColumns(QAbstractItemModel *rows, QObject *parent)
    : QIdentityProxyModel(parent)
{
    setSourceModel(rows);
}

std::optional<SortCode> AppexColumns::sortCodeOf(int column)
{
    return column >= 0 && column < columnTotal ? columns[column].sortCode : std::nullopt;
}

std::optional<int> AppexColumns::columnOf(SortCode sortCode)
{
    for (int column = 0; column < columnTotal; ++column) {
        if (columns[column].sortCode == sortCode)
            return column;
    }
    return std::nullopt;
}

int AppexColumns::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QModelIndex AppexColumns::index(int row, int column, const QModelIndex &parent) const
{
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex AppexColumns::sibling(int row, int column, const QModelIndex &) const
{
    return index(row, column);
}

// The scope has one column; every column of a row is its one row.
QModelIndex AppexColumns::mapToSource(const QModelIndex &proxyIndex) const
{
    return proxyIndex.isValid() && sourceModel() ? sourceModel()->index(proxyIndex.row(), 0)
                                                 : QModelIndex();
}

QModelIndex AppexColumns::mapFromSource(const QModelIndex &sourceIndex) const
{
    return sourceIndex.isValid() ? createIndex(sourceIndex.row(), 0) : QModelIndex();
}

QVariant AppexColumns::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Appex record = mapToSource(index).data(Appexer::RecordRole).value<Appex>();
    switch (role) {
    case Qt::DisplayRole:
        return textOf(record, index.column());
    case Qt::ToolTipRole:
        return index.column() == State ? RecordFacts::stateName(record)
                                       : textOf(record, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == State ? QVariant(Qt::AlignCenter) : QVariant();
    default:
        return mapToSource(index).data(role);
    }
}

QString AppexColumns::textOf(const Appex &record, int column)
{
    switch (Column(column)) {
    case State:
        return RecordFacts::stateMark(record);
    case Name:
        return record.name();
    case Category:
        return record.category();
    case Parent:
        return record.parentName();
    case Version:
        return record.version();
    case Identifier:
        return record.identifier();
    case Registered:
        return record.timestamp();
    case Path:
        return record.path();
    case Uuid:
        return record.uuid();
    }
    return {};
}

QVariant AppexColumns::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal)
        return {};
    if (role == Qt::DisplayRole)
        return QCoreApplication::translate("AppexColumns", columns[section].label);
    if (role == Qt::ToolTipRole && section == State)
        return RecordFacts::stateLegend();
    if (role == Qt::InitialSortOrderRole) // what a first click on a header sorts
        return int(Qt::AscendingOrder);
    return {};
}

void AppexColumns::sort(int column, Qt::SortOrder order)
{
    if (const std::optional<SortCode> code = sortCodeOf(column))
        emit catalogueSortRequested(*code);
    else if (column >= 0 && column < columnTotal && columns[column].field)
        emit fieldOrderRequested({*columns[column].field, order});
}
