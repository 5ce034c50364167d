#include "appexcolumns.h"

#include "appexer.h"
#include "messagerowdelegate.h"
#include "recordfacts.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

namespace {

struct ColumnInfo
{
    const char *label;
    std::optional<AppexField> field; // the field whose text it shows
    MessageRow::Colour colour;       // as the rows show the field
};

// In the order of AppexColumns::Column.
const ColumnInfo columns[] = {
    {QT_TRANSLATE_NOOP("AppexColumns", "Change"), {}, MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "State"), {}, MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "Name"), AppexField::Name, MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "Category"), {}, MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "Parent"), AppexField::ParentName, MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "Version"), AppexField::Version, MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "Identifier"), AppexField::Identifier,
     MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "Registered"), AppexField::Timestamp,
     MessageRow::Colour::Text},
    {QT_TRANSLATE_NOOP("AppexColumns", "Path"), AppexField::Path, MessageRow::Colour::Brown},
    {QT_TRANSLATE_NOOP("AppexColumns", "UUID"), AppexField::Uuid, MessageRow::Colour::Red},
};
static_assert(std::size(columns) == AppexColumns::columnTotal);

QString textOf(int column, const Appex &record, AppexChange change)
{
    switch (column) {
    case AppexColumns::Change:
        return MessageRowDelegate::changeMark(change, QGuiApplication::palette()).first;
    case AppexColumns::State:
        return RecordFacts::stateMark(record);
    case AppexColumns::Category:
        return RecordFacts::shownText(record.category());
    default:
        return RecordFacts::shownText(record, *columns[column].field);
    }
}

} // namespace

AppexColumns::AppexColumns(QAbstractItemModel *rows, QObject *parent)
    : QAbstractProxyModel(parent)
{
    AppexColumns::setSourceModel(rows);
}

std::optional<int> AppexColumns::columnOf(SortCode sortCode)
{
    switch (sortCode) {
    case SortCode::Name:
        return Name;
    case SortCode::Parent:
        return Parent;
    case SortCode::UUID:
        return Uuid;
    case SortCode::SDK:
        break;
    }
    return std::nullopt;
}

void AppexColumns::setSourceModel(QAbstractItemModel *rows)
{
    beginResetModel();
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(rows);
    if (rows) {
        connect(rows, &QAbstractItemModel::modelAboutToBeReset, this,
                &AppexColumns::beginResetModel);
        connect(rows, &QAbstractItemModel::modelReset, this, &AppexColumns::endResetModel);
        connect(
            rows, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex &, int first, int last) { beginInsertRows({}, first, last); });
        connect(rows, &QAbstractItemModel::rowsInserted, this, &AppexColumns::endInsertRows);
        connect(
            rows, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { beginRemoveRows({}, first, last); });
        connect(rows, &QAbstractItemModel::rowsRemoved, this, &AppexColumns::endRemoveRows);
        connect(rows, &QAbstractItemModel::rowsAboutToBeMoved, this,
                [this](const QModelIndex &, int first, int last, const QModelIndex &, int to) {
                    beginMoveRows({}, first, last, {}, to);
                });
        connect(rows, &QAbstractItemModel::rowsMoved, this, &AppexColumns::endMoveRows);
        connect(rows, &QAbstractItemModel::layoutAboutToBeChanged, this,
                [this](const QList<QPersistentModelIndex> &, LayoutChangeHint hint) {
                    emit layoutAboutToBeChanged({}, hint);
                    m_laidOut = persistentIndexList();
                    m_laidOutRows.clear();
                    for (const QModelIndex &cell : std::as_const(m_laidOut))
                        m_laidOutRows.append({rowOf(cell), cell.column()});
                });
        connect(rows, &QAbstractItemModel::layoutChanged, this,
                [this](const QList<QPersistentModelIndex> &, LayoutChangeHint hint) {
                    rowsLaidOut(hint);
                });
        // Every cell of a row shows something of its record.
        connect(rows, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                    emit dataChanged(index(topLeft.row(), 0),
                                     index(bottomRight.row(), columnTotal - 1));
                });
    }
    endResetModel();
}

void AppexColumns::rowsLaidOut(QAbstractItemModel::LayoutChangeHint hint)
{
    // A cell keeps its column, in the row of its record now, if it is still there.
    QModelIndexList now;
    now.reserve(m_laidOut.size());
    for (const auto &[row, column] : std::as_const(m_laidOutRows))
        now << (row.isValid() ? index(row.row(), column) : QModelIndex());
    changePersistentIndexList(m_laidOut, now);
    m_laidOut.clear();
    m_laidOutRows.clear();
    emit layoutChanged({}, hint);
}

int AppexColumns::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->rowCount();
}

int AppexColumns::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

bool AppexColumns::hasChildren(const QModelIndex &parent) const
{
    return QAbstractItemModel::hasChildren(parent);
}

QModelIndex AppexColumns::index(int row, int column, const QModelIndex &parent) const
{
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex AppexColumns::parent(const QModelIndex &) const
{
    return {};
}

QModelIndex AppexColumns::mapToSource(const QModelIndex &proxyIndex) const
{
    return proxyIndex.isValid() && proxyIndex.column() == Name ? rowOf(proxyIndex) : QModelIndex();
}

QModelIndex AppexColumns::mapFromSource(const QModelIndex &sourceIndex) const
{
    return sourceIndex.isValid() ? index(sourceIndex.row(), Name) : QModelIndex();
}

QModelIndex AppexColumns::rowOf(const QModelIndex &index) const
{
    return sourceModel()->index(index.row(), 0);
}

QVariant AppexColumns::data(const QModelIndex &index, int role) const
{
    QModelRoleData roleData(role);
    multiData(index, roleData);
    return roleData.data();
}

// A delegate asks for a cell's roles at once: its record is read once for them.
void AppexColumns::multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const
{
    const QModelIndex row = index.isValid() ? rowOf(index) : QModelIndex();
    std::optional<std::pair<Appex, AppexChange>> shown; // read when first needed
    for (QModelRoleData &roleData : roleDataSpan) {
        const int role = roleData.role();
        if (role >= Qt::UserRole) { // the row's own
            roleData.setData(row.data(role));
            continue;
        }
        if (!row.isValid()) {
            roleData.clearData();
            continue;
        }
        if (!shown)
            shown.emplace(row.data(Appexer::RecordRole).value<Appex>(),
                          AppexChange(row.data(Appexer::ChangeRole).toInt()));
        roleData.setData(cellData(index.column(), role, shown->first, shown->second));
    }
}

QVariant AppexColumns::cellData(int column, int role, const Appex &record, AppexChange change)
{
    switch (role) {
    case Qt::DisplayRole:
        return textOf(column, record, change);
    case Qt::ToolTipRole:
        return column == State ? RecordFacts::stateName(record) : textOf(column, record, change);
    case Qt::TextAlignmentRole:
        return column == State || column == Change ? QVariant(Qt::AlignCenter) : QVariant();
    case Qt::ForegroundRole: {
        // As the rows colour the field, and fade it. Plain text keeps the
        // view's colour: a colour of its own costs each cell a palette.
        const bool faint = MessageRowDelegate::isFaded(record, change);
        if (column != Change && columns[column].colour == MessageRow::Colour::Text && !faint)
            return {};
        const QPalette palette = QGuiApplication::palette();
        const QColor colour = column == Change
                                  ? MessageRowDelegate::changeMark(change, palette).second
                                  : MessageRowDelegate::colourOf(columns[column].colour, palette);
        if (!colour.isValid())
            return {};
        return faint ? MessageRowDelegate::faded(colour, palette.color(QPalette::Base)) : colour;
    }
    case Qt::FontRole: {
        if (change != AppexChange::Removed)
            return {};
        QFont struck; // only the strike-through, over the view's font
        struck.setStrikeOut(true);
        return struck;
    }
    default: // none of the others
        return {};
    }
}

Qt::ItemFlags AppexColumns::flags(const QModelIndex &index) const
{
    return index.isValid() ? rowOf(index).flags() : Qt::NoItemFlags;
}

QVariant AppexColumns::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal)
        return {};
    if (role == Qt::DisplayRole)
        return QCoreApplication::translate("AppexColumns", columns[section].label);
    if (role == Qt::ToolTipRole && section == State)
        return RecordFacts::stateLegend();
    if (role == Qt::ToolTipRole && section == Change)
        return tr("Compared with an older listing: + added, ~ changed, \u2212 removed since");
    if (role == Qt::InitialSortOrderRole) // what a first click on a header sorts
        return int(Qt::AscendingOrder);
    return {};
}

void AppexColumns::sort(int column, Qt::SortOrder order)
{
    if (column >= 0 && column < columnTotal)
        emit orderRequested(column, order);
}
