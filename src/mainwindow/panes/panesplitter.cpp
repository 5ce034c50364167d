#include "panesplitter.h"

#include <QResizeEvent>

PaneSplitter::PaneSplitter(QWidget *parent)
    : QSplitter(parent)
{
    setChildrenCollapsible(false);
}

void PaneSplitter::setCentralPane(QWidget *pane)
{
    m_central = pane;
    for (int index = 0; index < count(); ++index)
        setStretchFactor(index, widget(index) == pane ? 1 : 0);
}

void PaneSplitter::resizeEvent(QResizeEvent *event)
{
    QList<int> panes = sizes();
    QSplitter::resizeEvent(event);
    const int central = indexOf(m_central);
    int lost = event->oldSize().width() - event->size().width();
    if (central < 0 || event->oldSize().width() < 0 || lost <= 0)
        return;
    // From the last pane inwards: the details before the sidebar.
    for (int index = count() - 1; index >= 0 && lost > 0; --index) {
        const QWidget *pane = widget(index);
        if (index == central || pane->isHidden())
            continue;
        const int least = std::max(pane->minimumWidth(), pane->minimumSizeHint().width());
        const int given = std::clamp(panes[index] - least, 0, lost);
        panes[index] -= given;
        lost -= given;
    }
    panes[central] -= lost;
    setSizes(panes);
}
