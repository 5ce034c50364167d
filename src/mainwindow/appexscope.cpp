#include "appexscope.h"

#include "appexer.h"
#include "recordrows.h"

#include <string_view>

AppexScope::AppexScope(const Appexer &appexer, QAbstractItemModel *results, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_appexer(appexer)
{
    setSourceModel(results);
    // A new listing comes in the catalogue's order; the field's order stays
    // for it as for a sort of the catalogue.
    setDynamicSortFilter(true);
}

void AppexScope::setCategory(const QString &category)
{
    m_category = category;
    invalidateRowsFilter();
}

void AppexScope::setProblemsOnly(bool problemsOnly)
{
    m_problemsOnly = problemsOnly;
    invalidateRowsFilter();
}

void AppexScope::setFieldOrder(std::optional<AppexField> field, Qt::SortOrder order)
{
    m_field = field;
    // Column -1 gives back the source's order: the catalogue's.
    sort(field ? 0 : -1, order);
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
    return (m_category.isEmpty() || record.category() == m_category) &&
           (!m_problemsOnly || record.problems());
}

bool AppexScope::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const auto view = [this](const QModelIndex &index) {
        const QByteArrayView bytes = recordOf(index).bytes(*m_field);
        return std::string_view(bytes.data(), size_t(bytes.size()));
    };
    return view(left) < view(right);
}

const Appex &AppexScope::recordOf(const QModelIndex &sourceIndex) const
{
    return m_appexer.recordAt(RecordRows::catalogueRow(sourceIndex));
}
