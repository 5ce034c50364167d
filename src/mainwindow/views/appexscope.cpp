#include "appexscope.h"

#include "appexer.h"
#include "appexfilter.h"
#include "recordrows.h"

#include <QHash>

AppexScope::AppexScope(const Appexer &appexer, AppexFilter *results, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_appexer(appexer)
    , m_results(results)
{
    setSourceModel(results);
    connect(&appexer, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_inCategory.clear(); });
}

void AppexScope::setCategory(const QString &category)
{
    m_category = category;
    m_inCategory.clear();
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
    return m_category.isEmpty() && !m_problemsOnly
               ? true
               : isInScope(
                     RecordRows::catalogueRow(sourceModel()->index(sourceRow, 0, sourceParent)));
}

bool AppexScope::shows(int catalogueRow) const
{
    return m_results->acceptsRow(catalogueRow) && isInScope(catalogueRow);
}

bool AppexScope::isInScope(int catalogueRow) const
{
    if (m_problemsOnly && !m_appexer.recordAt(catalogueRow).problems())
        return false;
    return m_category.isEmpty() || isInCategory(catalogueRow);
}

// Told for every record at once, in the listing's order, naming each point's
// category once: a category is chosen once and asked of each row again and
// again.
bool AppexScope::isInCategory(int catalogueRow) const
{
    if (m_inCategory.empty()) {
        const ListingRecords records = m_appexer.byRecordKey();
        m_inCategory.resize(size_t(records.count));
        QHash<QByteArray, bool> pointInCategory;
        for (qsizetype key = 0; key < records.count; ++key) {
            const Appex &record = records.at(key);
            const QByteArrayView point = record.bytes(AppexField::Point);
            auto known =
                pointInCategory.constFind(QByteArray::fromRawData(point.data(), point.size()));
            if (known == pointInCategory.cend())
                known =
                    pointInCategory.insert(point.toByteArray(), record.category() == m_category);
            m_inCategory[size_t(key)] = *known;
        }
    }
    return m_inCategory[size_t(m_appexer.recordKey(catalogueRow))];
}
