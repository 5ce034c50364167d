#pragma once

#include "appex.h"
#include "listingcomparison.h"
#include "sortcode.h"

#include <QAbstractProxyModel>

#include <optional>

// The rows of a list of records as a table, a column per thing a record
// tells. The list's one column, the record's name, is the Name column; every
// other column shows a field of its row, or its state or change, read from
// the row's roles, in the colours and strike-through of the list's rows.
// A cell answers its row's own roles too (the record, its key, its change).
//
// Sorting by a column asks for the rows in its order: it is the catalogue,
// under the list, that orders its rows.
class AppexColumns : public QAbstractProxyModel
{
    Q_OBJECT

public:
    enum Column {
        Change,
        State,
        Name,
        Category,
        Parent,
        Version,
        Identifier,
        Registered,
        Path,
        Uuid
    };
    static constexpr int columnTotal = Uuid + 1;

    // `rows` is a list of records, one column wide, as the catalogue's roles.
    explicit AppexColumns(QAbstractItemModel *rows, QObject *parent = nullptr);

    // The column in whose order, ascending, the catalogue's sort code puts
    // the rows; none for the SDK's, which no column shows.
    [[nodiscard]] static std::optional<int> columnOf(SortCode sortCode);

    void setSourceModel(QAbstractItemModel *rows) override;
    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QModelIndex index(int row, int column,
                                    const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex &child) const override;
    [[nodiscard]] QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    [[nodiscard]] QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    void multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    // The rows are asked for in the order of `column`.
    void orderRequested(int column, Qt::SortOrder order);

private:
    // The row of the list that `index` is a cell of.
    [[nodiscard]] QModelIndex rowOf(const QModelIndex &index) const;
    // What `column` shows of `record` in `role`: its text, tip, alignment, colour or font.
    [[nodiscard]] static QVariant cellData(int column, int role, const Appex &record,
                                           AppexChange change);
    void rowsLaidOut(QAbstractItemModel::LayoutChangeHint hint);

    // The persistent cells across a change of the rows' layout, by their
    // rows in the list and their columns.
    QModelIndexList m_laidOut;
    QList<std::pair<QPersistentModelIndex, int>> m_laidOutRows;
};
