#pragma once

#include "appex.h"

#include <QSortFilterProxyModel>

#include <vector>

class AppexFilter;
class Appexer;

// The rows of the search's results that the window shows: those of one
// category, or those with problems, or all; in the catalogue's order.
class AppexScope : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    AppexScope(const Appexer &appexer, AppexFilter *results, QObject *parent = nullptr);

    // An empty category passes every category.
    void setCategory(const QString &category);
    [[nodiscard]] QString category() const { return m_category; }
    void setProblemsOnly(bool problemsOnly);

    // Whether the catalogue's row is one of these rows: found without going
    // through the proxies, for a walk over every row.
    [[nodiscard]] bool shows(int catalogueRow) const;

    // Every row has the catalogue's flags. A tree view asks for each row's
    // as it lays them out, and would go through the proxies for every one.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex &sourceParent) const override;

private:
    [[nodiscard]] bool isInScope(int catalogueRow) const;
    [[nodiscard]] bool isInCategory(int catalogueRow) const;

    const Appexer &m_appexer;
    const AppexFilter *m_results;
    QString m_category;
    mutable std::vector<bool> m_inCategory; // by record key; empty until asked
    bool m_problemsOnly = false;
};
