#pragma once

#include "erroralert.h"

class QWidget;

// The error alert as a modal, critical QMessageBox with one "OK" button.
class MessageBoxAlert : public ErrorAlert
{
public:
    explicit MessageBoxAlert(QWidget *window);

    void showErrorAlert(const QString &detail) override;

private:
    QWidget *m_window;
};
