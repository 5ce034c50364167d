#pragma once

#include "rtffiledialog.h"
#include "savepanel.h"

#include <QPointer>

// The save panel as a modeless RtfFileDialog: the main window stays usable
// while it is open, and each save opens a dialog of its own.
class FileDialogSavePanel : public SavePanel
{
public:
    explicit FileDialogSavePanel(QWidget *window);

    void begin(const QString &proposedName, Completion completion) override;

    // The dialog opened last, while it is open; for tests.
    [[nodiscard]] RtfFileDialog *openDialog() const { return m_lastDialog; }

private:
    QWidget *m_window;
    QPointer<RtfFileDialog> m_lastDialog;
};
