#include "sortentrybutton.h"

#include <QShortcutEvent>

bool SortEntryButton::event(QEvent *event)
{
    if (event->type() != QEvent::Shortcut)
        return QRadioButton::event(event);
    // As QAbstractButton does, less the animation. An ambiguous mnemonic
    // only moves the focus, so that pressing it again reaches the next one.
    setFocus(Qt::ShortcutFocusReason);
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    if (!static_cast<QShortcutEvent *>(event)->isAmbiguous())
        click();
    return true;
}
