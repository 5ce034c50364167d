#pragma once

#include <QSortFilterProxyModel>

#include <vector>

// The rows of the search's results that the window shows: those of one
// category, or those with problems, or all; in the catalogue's order.
class AppexScope : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    // `results` are the search's, a proxy of the catalogue.
    explicit AppexScope(QAbstractItemModel *results, QObject *parent = nullptr);

    // An empty category passes every category.
    void setCategory(const QString &category);
    [[nodiscard]] QString category() const { return m_category; }
    void setProblemsOnly(bool problemsOnly);

    // A record's row is selectable and enabled, and never has children. A
    // tree view asks for each row's flags as it lays them out, which through
    // the proxies would cost it more than the rest of its layout.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex &sourceParent) const override;

private:
    [[nodiscard]] bool isInCategory(const QModelIndex &row) const;

    QString m_category;
    // Whether each extension point met so far, by PointRole, is of the
    // category, or -1 until met: a category is asked of each row again and
    // again, and a catalogue holds few points.
    mutable std::vector<qint8> m_pointInCategory;
    bool m_problemsOnly = false;
};
