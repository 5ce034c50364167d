#include "appexfilter.h"

#include "appexer.h"

AppexFilter::AppexFilter(Appexer *appexer, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_appexer(appexer)
{
    setSourceModel(appexer);
}

void AppexFilter::setQuery(const QString &query)
{
    if (query == m_query)
        return;
    m_query = query;
    searchAgain();
}

void AppexFilter::setScope(AppexSearch::Scope scope)
{
    if (scope == m_scope)
        return;
    m_scope = scope;
    if (isSearching())
        searchAgain();
}

void AppexFilter::setChangesOnly(bool changesOnly)
{
    if (changesOnly == m_changesOnly)
        return;
    m_changesOnly = changesOnly;
    invalidateFilter();
}

void AppexFilter::searchAgain()
{
    m_search = AppexSearch(m_query, m_scope);
    invalidateFilter();
}

bool AppexFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (m_changesOnly && m_appexer->changeAt(sourceRow) == AppexChange::Unchanged)
        return false;
    return !isSearching() || m_search.matches(m_appexer->recordAt(sourceRow));
}
