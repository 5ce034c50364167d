#pragma once

#include "appex.h"

#include <QHash>
#include <QSortFilterProxyModel>

class Appexer;

// The rows of the search's results that the window shows: those of one
// category, or those with problems, or all; in the catalogue's order.
class AppexScope : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    // `results` is a proxy of `appexer`.
    AppexScope(const Appexer &appexer, QAbstractItemModel *results, QObject *parent = nullptr);

    // An empty category passes every category.
    void setCategory(const QString &category);
    [[nodiscard]] QString category() const { return m_category; }
    void setProblemsOnly(bool problemsOnly);

    // Every row has the catalogue's flags. A tree view asks for each row's
    // as it lays them out, and would go through the proxies for every one.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex &sourceParent) const override;

private:
    [[nodiscard]] const Appex &recordOf(const QModelIndex &sourceIndex) const;
    [[nodiscard]] bool isInCategory(const Appex &record) const;

    const Appexer &m_appexer;
    QString m_category;
    // Whether each point met is of m_category: a catalogue holds few points,
    // and naming a point's category makes a string.
    mutable QHash<QByteArray, bool> m_pointInCategory;
    bool m_problemsOnly = false;
};
