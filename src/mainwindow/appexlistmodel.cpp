#include "appexlistmodel.h"

#include <QStringList>

void AppexListModel::setRecords(AppexList records, bool isSearching)
{
    beginResetModel();
    m_records = std::move(records);
    m_isSearching = isSearching;
    endResetModel();
}

void AppexListModel::setDisplay(bool showPaths, bool showUUID)
{
    if (showPaths == m_showPaths && showUUID == m_showUUID)
        return;
    m_showPaths = showPaths;
    m_showUUID = showUUID;
    if (!m_records.isEmpty())
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole, MessageRowRole});
}

int AppexListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

QVariant AppexListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        QStringList texts;
        for (const MessageRow::Item &item : rowAt(index.row()).items())
            texts << item.text;
        return texts.join(u' ');
    }
    case MessageRowRole:
        return QVariant::fromValue(rowAt(index.row()));
    case IdRole:
        return m_records[index.row()].id();
    default:
        return {};
    }
}

MessageRow AppexListModel::rowAt(int row) const
{
    return MessageRow(m_records[row], m_showPaths, m_showUUID, m_isSearching);
}
