#include "appexscope.h"

#include "appexer.h"
#include "recordrows.h"

AppexScope::AppexScope(const Appexer &appexer, QAbstractItemModel *results, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_appexer(appexer)
{
    setSourceModel(results);
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
    return index.isValid() ? m_appexer.flags(m_appexer.index(0)) : Qt::NoItemFlags;
}

bool AppexScope::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_category.isEmpty() && !m_problemsOnly)
        return true;
    const Appex &record = recordOf(sourceModel()->index(sourceRow, 0, sourceParent));
    return (m_category.isEmpty() || isInCategory(record)) && (!m_problemsOnly || record.problems());
}

bool AppexScope::isInCategory(const Appex &record) const
{
    const QByteArrayView point = record.bytes(AppexField::Point);
    const auto known =
        m_pointInCategory.constFind(QByteArray::fromRawData(point.data(), point.size()));
    if (known != m_pointInCategory.cend())
        return *known;
    return *m_pointInCategory.insert(point.toByteArray(), record.category() == m_category);
}

const Appex &AppexScope::recordOf(const QModelIndex &sourceIndex) const
{
    return m_appexer.recordAt(RecordRows::catalogueRow(sourceIndex));
}
