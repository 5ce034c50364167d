#include "appexfilter.h"

#include "appexer.h"
#include "sparetime.h"

#include <numeric>

AppexFilter::AppexFilter(QAbstractItemModel *catalogue, QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSourceModel(catalogue);
    // Told before the change is done, so that no filtering after it uses the
    // index of an earlier listing. A sort keeps it: it is by record, not row.
    connect(catalogue, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        for (QFuture<PreparedPart> &indexing : m_indexing)
            indexing.cancel(); // made of records that go
        m_index.clear();
        m_tooLargeForIndex = false;
        m_matchesAreStale = true;
    });
    // Each row's record key, read once for every search until the rows move:
    // a role read per row and keystroke costs as much as the search itself.
    const auto rowsMove = [this] { m_rowKeys.clear(); };
    connect(catalogue, &QAbstractItemModel::modelAboutToBeReset, this, rowsMove);
    connect(catalogue, &QAbstractItemModel::rowsAboutToBeInserted, this, rowsMove);
    connect(catalogue, &QAbstractItemModel::rowsAboutToBeRemoved, this, rowsMove);
    connect(catalogue, &QAbstractItemModel::layoutAboutToBeChanged, this, rowsMove);
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
    filterAgain();
}

AppexFilter::~AppexFilter()
{
    for (QFuture<PreparedPart> &indexing : m_indexing)
        indexing.cancel();
}

void AppexFilter::prepareIndex(const Appexer &catalogue)
{
    if (m_tooLargeForIndex || catalogue.rowCount() == 0)
        return;
    for (const SearchIndex::Part part :
         {SearchIndex::Part::Uuids, SearchIndex::Part::OtherFields}) {
        QFuture<PreparedPart> &indexing = m_indexing[size_t(part)];
        const bool underWay = !indexing.isCanceled() && !indexing.isFinished();
        const bool searched =
            part == SearchIndex::Part::Uuids || m_scope == AppexSearch::Scope::AllFields;
        if (!searched || underWay || m_index.has(part))
            continue;
        indexing = runInSpareTime(
            this,
            [records = catalogue.byRecordKey(), part](const StopAsked &stopAsked) {
                PreparedPart prepared;
                if (stopAsked())
                    return prepared;
                std::vector<qsizetype> keys(size_t(records.count));
                std::iota(keys.begin(), keys.end(), 0);
                prepared.tooLarge = !prepared.index.build(part, records, keys);
                return prepared;
            },
            [this](PreparedPart prepared) {
                m_tooLargeForIndex = m_tooLargeForIndex || prepared.tooLarge;
                m_index.adopt(std::move(prepared.index));
            });
    }
}

void AppexFilter::searchAgain()
{
    m_search = AppexSearch(m_query, m_scope);
    m_matchesAreStale = true;
    filterAgain();
}

// One pass over the catalogue and one layout change, however the rows shown
// change: invalidateFilter() would tell the views of every stretch of rows
// that comes or goes, which on a large catalogue takes longer than typing.
void AppexFilter::filterAgain()
{
    invalidate();
}

bool AppexFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (m_changesOnly &&
        AppexChange(sourceModel()->index(sourceRow, 0).data(Appexer::ChangeRole).toInt()) ==
            AppexChange::Unchanged)
        return false;
    return !isSearching() || searchMatches(sourceRow);
}

bool AppexFilter::searchMatches(int sourceRow) const
{
    const QAbstractItemModel *catalogue = sourceModel();
    if (!hasIndex())
        return m_search.matches(
            catalogue->index(sourceRow, 0).data(Appexer::RecordRole).value<Appex>());
    if (m_matchesAreStale) {
        m_matches = m_index.matching(m_search);
        m_matchesAreStale = false;
    }
    if (m_rowKeys.empty()) {
        m_rowKeys.resize(size_t(catalogue->rowCount()));
        for (int row = 0; row < catalogue->rowCount(); ++row)
            m_rowKeys[size_t(row)] = catalogue->index(row, 0).data(Appexer::KeyRole).toLongLong();
    }
    return m_matches[size_t(m_rowKeys[size_t(sourceRow)])];
}

// Indexes the rows in their order, which reads the records in order: a
// record's text is asked for ahead, but its place in memory cannot be.
bool AppexFilter::buildIndex(SearchIndex::Part part) const
{
    const QAbstractItemModel *catalogue = sourceModel();
    const int rows = catalogue->rowCount();
    AppexList records;
    records.reserve(rows);
    std::vector<qsizetype> keys(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = catalogue->index(row, 0);
        records << index.data(Appexer::RecordRole).value<Appex>();
        keys[size_t(row)] = index.data(Appexer::KeyRole).toLongLong();
    }
    return m_index.build(part, records, keys);
}

// Whether the index holds what the search looks at, made first if need be;
// false for a catalogue too large for one.
bool AppexFilter::isIndexedFor(AppexSearch::Scope scope) const
{
    return m_index.has(SearchIndex::Part::Uuids) &&
           (scope == AppexSearch::Scope::Uuid || m_index.has(SearchIndex::Part::OtherFields));
}

bool AppexFilter::hasIndex() const
{
    const auto indexed = [this](SearchIndex::Part part) {
        if (!m_index.has(part) && !m_tooLargeForIndex) {
            m_tooLargeForIndex = !buildIndex(part);
            m_matchesAreStale = true;
        }
    };
    indexed(SearchIndex::Part::Uuids);
    if (m_search.scope() == AppexSearch::Scope::AllFields)
        indexed(SearchIndex::Part::OtherFields);
    return isIndexedFor(m_search.scope());
}
