#pragma once

#include "appexsearch.h"
#include "searchindex.h"

#include <QFuture>
#include <QSortFilterProxyModel>

#include <array>

class Appexer;

// The rows of a catalogue that the window shows: those that match the search
// while there is a query (all of them while there is none), and only the
// changed ones when asked to. As a proxy of the catalogue it follows every
// refresh and sort, so it never shows records of an earlier listing. It reads
// the catalogue's rows through their roles (Appexer::Role), as a view would.
class AppexFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit AppexFilter(QAbstractItemModel *catalogue, QObject *parent = nullptr);
    ~AppexFilter() override;

    void setQuery(const QString &query);
    void setScope(AppexSearch::Scope scope);
    void setChangesOnly(bool changesOnly);
    // Indexes in spare time what a search in the scope set looks at and the
    // index lacks, from `catalogue`, this filter's source: the first
    // keystroke of a search then costs what later ones do. Dropped if the
    // catalogue is reset meanwhile.
    void prepareIndex(const Appexer &catalogue);
    // Whether a search in `scope` finds its index made.
    [[nodiscard]] bool isIndexedFor(AppexSearch::Scope scope) const;

    [[nodiscard]] bool isSearching() const { return !m_query.isEmpty(); }
    [[nodiscard]] QString query() const { return m_query; }

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex &sourceParent) const override;

private:
    void searchAgain();
    void filterAgain();
    [[nodiscard]] bool searchMatches(int sourceRow) const;
    [[nodiscard]] bool hasIndex() const;
    [[nodiscard]] bool buildIndex(SearchIndex::Part part) const;

    QString m_query;
    AppexSearch::Scope m_scope = AppexSearch::Scope::Uuid;
    AppexSearch m_search{QString()};
    bool m_changesOnly = false;

    // Made when first needed, and again for each listing.
    mutable SearchIndex m_index;
    mutable bool m_tooLargeForIndex = false; // then searched record by record
    struct PreparedPart
    {
        SearchIndex index; // of one part
        bool tooLarge = false;
    };
    std::array<QFuture<PreparedPart>, 2> m_indexing; // by SearchIndex::Part

    mutable std::vector<bool> m_matches;      // by record key
    mutable std::vector<qsizetype> m_rowKeys; // by row, until the rows move
    mutable bool m_matchesAreStale = true;
};
