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
    const QList<int> before = sizes();
    QSplitter::resizeEvent(event);
    const int central = indexOf(m_central);
    const int change = event->size().width() - event->oldSize().width();
    if (central < 0 || event->oldSize().width() < 0 || change == 0)
        return;
    // Narrower: from the widths before, the details give room first, then the
    // sidebar, each remembering the width it had. Wider: of what the list was
    // given, the sidebar and then the details take back what they gave.
    QList<int> panes = change < 0 ? before : sizes();
    int room = change < 0 ? change : panes[central] - before[central];
    for (int step = 0; step < count(); ++step) {
        const int index = change < 0 ? count() - 1 - step : step;
        const QWidget *pane = widget(index);
        if (index == central || pane->isHidden())
            continue;
        int &wanted = m_wanted[pane];
        wanted = std::max(wanted, change < 0 ? before[index] : panes[index]);
        const int least = std::max(pane->minimumWidth(), pane->minimumSizeHint().width());
        const int given = change < 0 ? -std::clamp(panes[index] - least, 0, -room)
                                     : std::clamp(wanted - panes[index], 0, room);
        panes[index] += given;
        panes[central] -= change < 0 ? 0 : given;
        room -= given;
    }
    if (change < 0)
        panes[central] += room;
    setSizes(panes);
}
