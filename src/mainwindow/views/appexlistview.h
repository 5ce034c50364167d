#pragma once

#include "appex.h"
#include "listingcomparison.h"
#include "messagerowdelegate.h"

#include <QPersistentModelIndex>
#include <QTreeView>

#include <array>
#include <vector>

class QMenu;

// The list of the catalogue's records, a row each, as the filter passes them:
// as wide as its widest row (of the longest rows and those in sight), so
// that it scrolls sideways to it. Its menu,
// from the context key, Shift+F10 or a right click, holds the actions added
// to it.
class AppexListView : public QTreeView
{
    Q_OBJECT

public:
    // `rows` is the catalogue or a proxy of it, through any number of proxies.
    explicit AppexListView(QAbstractItemModel *rows, QWidget *parent = nullptr);

    [[nodiscard]] MessageRowDelegate::Display display() const { return m_delegate->display(); }
    // Shows the rows so, measured again if they changed.
    void setDisplay(MessageRowDelegate::Display display);

    [[nodiscard]] QMenu *rowMenu() const { return m_rowMenu; }
    // Marks the list as the place where a file hovering over the window goes.
    void setDropHighlighted(bool highlighted);
    [[nodiscard]] bool isDropHighlighted() const { return m_dropHighlighted; }

protected:
    bool viewportEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void measureRows();
    void measureRowsInSight();
    void fitColumn();
    void findLongestRows();
    // The records of the rows shown that have the most characters, most first.
    [[nodiscard]] AppexList longestShownRows() const;

    MessageRowDelegate *m_delegate;
    QMenu *m_rowMenu;
    int m_widestRow = 0;
    // Whether m_widestRow is that of the rows shown.
    bool m_measured = false;
    // The catalogue's rows with the most characters, most first, for each way
    // of showing them (with paths or not, with UUIDs or not): found once for
    // its records, and then the rows shown are looked for among them.
    std::array<std::vector<QPersistentModelIndex>, 4> m_longestRows;
    bool m_longestRowsKnown = false;
    bool m_dropHighlighted = false;
};
