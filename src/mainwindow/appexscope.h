#pragma once

#include "appex.h"

#include <QSortFilterProxyModel>

#include <optional>

class Appexer;

// The rows of the search's results that the window shows: those of one
// category, or those with problems, or all; in the catalogue's order, or
// in the order of one field's text, stably.
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
    // Orders the rows by the bytes of `field`; without one, as the catalogue does.
    void setFieldOrder(std::optional<AppexField> field, Qt::SortOrder order);
    [[nodiscard]] std::optional<AppexField> fieldOrder() const { return m_field; }

    // Every row has the catalogue's flags. A tree view asks for each row's
    // as it lays them out, and would go through the proxies for every one.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex &sourceParent) const override;
    [[nodiscard]] bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    [[nodiscard]] const Appex &recordOf(const QModelIndex &sourceIndex) const;

    const Appexer &m_appexer;
    QString m_category;
    bool m_problemsOnly = false;
    std::optional<AppexField> m_field;
};
