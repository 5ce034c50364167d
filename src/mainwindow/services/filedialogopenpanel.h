#pragma once

#include "openpanel.h"

class QWidget;

// The open panel as the platform's file dialog where it has one, starting in
// the folder last used.
class FileDialogOpenPanel : public OpenPanel
{
public:
    explicit FileDialogOpenPanel(QWidget *window);

    void begin(const QString &title, const QString &folder, Completion completion) override;

private:
    QWidget *m_window;
};
