#pragma once

#include "appex.h"
#include "listingcomparison.h"
#include "messagerowdelegate.h"

#include <QTreeView>

class Appexer;
class AppexScope;
class QMenu;

// The list of the catalogue's records, a row each, as the filter passes them:
// as wide as its widest row, so that it scrolls sideways to it. Its menu,
// from the context key, Shift+F10 or a right click, holds the actions added
// to it.
class AppexListView : public QTreeView
{
    Q_OBJECT

public:
    AppexListView(const Appexer &appexer, AppexScope *rows, QWidget *parent = nullptr);

    [[nodiscard]] MessageRowDelegate::Display display() const { return m_delegate->display(); }
    // Shows the rows so, measured again unless only their order changed.
    void setDisplay(MessageRowDelegate::Display display);
    [[nodiscard]] int widestRow() const { return m_widestRow; }

    [[nodiscard]] QMenu *rowMenu() const { return m_rowMenu; }
    // Marks the list as the place where a file hovering over the window goes.
    void setDropHighlighted(bool highlighted);
    [[nodiscard]] bool isDropHighlighted() const { return m_dropHighlighted; }

protected:
    bool viewportEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void measureRows();
    void fitColumn();

    const Appexer &m_appexer;
    AppexScope *m_rows;
    MessageRowDelegate *m_delegate;
    QMenu *m_rowMenu;
    int m_widestRow = 0;
    // Whether m_widestRow is that of the rows shown: a sort keeps it.
    bool m_measured = false;
    bool m_catalogueSorting = false;
    bool m_dropHighlighted = false;
};
