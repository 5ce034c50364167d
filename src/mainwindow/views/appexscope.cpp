#include "appexscope.h"

#include "appexer.h"

AppexScope::AppexScope(QAbstractItemModel *results, QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSourceModel(results);
    // Another listing names its points anew.
    connect(results, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_pointInCategory.clear(); });
}

void AppexScope::setCategory(const QString &category)
{
    m_category = category;
    m_pointInCategory.clear();
    invalidateRowsFilter();
}

void AppexScope::setProblemsOnly(bool problemsOnly)
{
    m_problemsOnly = problemsOnly;
    invalidateRowsFilter();
}

Qt::ItemFlags AppexScope::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

bool AppexScope::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_category.isEmpty() && !m_problemsOnly)
        return true;
    const QModelIndex row = sourceModel()->index(sourceRow, 0, sourceParent);
    if (m_problemsOnly && row.data(Appexer::ProblemsRole).toInt() == 0)
        return false;
    return m_category.isEmpty() || isInCategory(row);
}

bool AppexScope::isInCategory(const QModelIndex &row) const
{
    const auto point = size_t(row.data(Appexer::PointRole).toInt());
    if (point >= m_pointInCategory.size())
        m_pointInCategory.resize(point + 1, -1);
    if (m_pointInCategory[point] < 0)
        m_pointInCategory[point] =
            row.data(Appexer::RecordRole).value<Appex>().category() == m_category;
    return m_pointInCategory[point] != 0;
}
