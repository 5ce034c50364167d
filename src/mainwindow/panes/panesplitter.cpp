#include "panesplitter.h"

#include <QResizeEvent>

PaneSplitter::PaneSplitter(QWidget *parent)
    : QSplitter(parent)
{
    setChildrenCollapsible(false);
    // A width the user sets is the one to come back to.
    connect(this, &QSplitter::splitterMoved, this, &PaneSplitter::rememberWidths);
}

void PaneSplitter::setCentralPane(QWidget *pane)
{
    m_central = pane;
    for (int index = 0; index < count(); ++index)
        setStretchFactor(index, widget(index) == pane ? 1 : 0);
}

void PaneSplitter::rememberWidths()
{
    const QList<int> panes = sizes();
    for (int index = 0; index < count(); ++index) {
        if (widget(index) != m_central && !widget(index)->isHidden())
            m_wanted.insert(widget(index), panes[index]);
    }
}

void PaneSplitter::resizeEvent(QResizeEvent *event)
{
    QList<int> panes = sizes();
    QSplitter::resizeEvent(event);
    const int central = indexOf(m_central);
    if (central < 0 || event->oldSize().width() < 0)
        return;
    int change = event->size().width() - event->oldSize().width();
    for (int index = 0; index < count(); ++index) {
        if (index != central && !widget(index)->isHidden() && !m_wanted.contains(widget(index)))
            m_wanted.insert(widget(index), panes[index]);
    }
    // Lost from the last pane inwards, the details before the sidebar, and
    // given back the other way.
    for (int step = 0; step < count() && change != 0; ++step) {
        const int index = change < 0 ? count() - 1 - step : step;
        const QWidget *pane = widget(index);
        if (index == central || pane->isHidden())
            continue;
        const int least = std::max(pane->minimumWidth(), pane->minimumSizeHint().width());
        const int given = change < 0 ? -std::clamp(panes[index] - least, 0, -change)
                                     : std::clamp(m_wanted.value(pane) - panes[index], 0, change);
        panes[index] += given;
        change -= given;
    }
    panes[central] += change;
    setSizes(panes);
}
