#pragma once

#include <QHash>
#include <QSplitter>

// The window's panes side by side, one of them the central one (the list).
// Room the window loses is taken from the other panes first, each down to
// its least, so that the list keeps its width while the window narrows; room
// it gains goes back to them first, up to the widths they had before, then
// to the list.
class PaneSplitter : public QSplitter
{
    Q_OBJECT

public:
    explicit PaneSplitter(QWidget *parent = nullptr);

    void setCentralPane(QWidget *pane);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rememberWidths();

    QWidget *m_central = nullptr;
    QHash<const QWidget *, int> m_wanted; // the width a side pane had before it gave room
};
