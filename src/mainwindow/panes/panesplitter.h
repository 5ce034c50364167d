#pragma once

#include <QSplitter>

// The window's panes side by side, one of them the central one (the list):
// room the window gains goes to it, and room it loses is taken from the
// other panes first, each down to its least, so that the list keeps its
// width while the window narrows.
class PaneSplitter : public QSplitter
{
    Q_OBJECT

public:
    explicit PaneSplitter(QWidget *parent = nullptr);

    void setCentralPane(QWidget *pane);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_central = nullptr;
};
