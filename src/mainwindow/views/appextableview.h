#pragma once

#include <QHash>
#include <QTableView>

class AppexColumns;
class QAction;
class QMenu;
class QTimer;

// The records as a table, a column per field. A click on a header sorts by
// its column, a second click the other way; the header's menu hides and
// shows columns, which resize and move by dragging. The layout the user
// gives the header is kept between runs.
class AppexTableView : public QTableView
{
    Q_OBJECT

public:
    explicit AppexTableView(AppexColumns *columns, QWidget *parent = nullptr);
    ~AppexTableView() override;

    [[nodiscard]] QMenu *rowMenu() const { return m_rowMenu; }
    // Shows which column the rows are in the order of, if any.
    void showSortColumn(std::optional<int> column, Qt::SortOrder order);
    // Shows `column` while `toggle` is checked, from the View menu or the
    // header's menu alike.
    void showColumnWith(int column, QAction *toggle);
    // Shows the Change column while the rows are compared with an older listing.
    void showChanges(bool comparing);
    // What a cell's tip adds to the cell: the word for a mark, or the whole
    // value where the cell cuts it; empty where the cell shows it all.
    [[nodiscard]] QString toolTipOf(const QModelIndex &cell) const;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void headerClicked(int column);
    void showHeaderMenu(QPoint at);
    // Keeps the header's layout once the user has done changing it: a drag
    // changes it many times a second, and writing the settings takes long.
    void keepLayout();
    void storeLayout() const;

    AppexColumns *m_columns;
    QMenu *m_rowMenu;
    QTimer *m_keepLayout;
    QHash<int, QAction *> m_toggles; // of the columns that a toggle shows
};
