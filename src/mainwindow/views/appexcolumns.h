#pragma once

#include "appex.h"
#include "appexer.h"

#include <QIdentityProxyModel>

#include <optional>

// The rows of a scope as a table, a column per thing a record tells. Sorting
// by a column asks the catalogue for its sort by that column's sort code, or
// else for its order by the column's bytes.
class AppexColumns : public QIdentityProxyModel
{
    Q_OBJECT

public:
    enum Column { State, Name, Category, Parent, Version, Identifier, Registered, Path, Uuid };
    static constexpr int columnTotal = Uuid + 1;

    // `rows` is the catalogue or a proxy of it, one column wide.
    explicit AppexColumns(QAbstractItemModel *rows, QObject *parent = nullptr);

    // The catalogue's sort code that orders by `column`, if it is one of them.
    [[nodiscard]] static std::optional<SortCode> sortCodeOf(int column);
    [[nodiscard]] static std::optional<int> columnOf(SortCode sortCode);

    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QModelIndex index(int row, int column,
                                    const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QModelIndex sibling(int row, int column, const QModelIndex &index) const override;
    [[nodiscard]] QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    [[nodiscard]] QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    // A column the catalogue sorts by was chosen.
    void catalogueSortRequested(SortCode sortCode);
    // Another column was chosen, to order the rows by its bytes.
    void fieldOrderRequested(const Appexer::FieldOrder &order);

private:
    [[nodiscard]] static QString textOf(const Appex &record, int column);
};
