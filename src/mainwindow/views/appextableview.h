#pragma once

#include <QTableView>

class AppexColumns;
class QMenu;

// The records as a table, a column per field. A click on a header sorts by
// its column; the header's menu hides and shows columns, which resize and
// move by dragging. The layout is kept between runs.
class AppexTableView : public QTableView
{
    Q_OBJECT

public:
    explicit AppexTableView(AppexColumns *columns, QWidget *parent = nullptr);

    [[nodiscard]] QMenu *rowMenu() const { return m_rowMenu; }
    // Shows which column the rows are in the order of, if any.
    void showSortColumn(std::optional<int> column, Qt::SortOrder order);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void headerClicked(int column);
    void showHeaderMenu(QPoint at);

    AppexColumns *m_columns;
    QMenu *m_rowMenu;
    QByteArray m_layout; // of the header, across a change of the rows
    bool m_keepingLayout = false;
};
