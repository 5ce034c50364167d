#include "messageboxalert.h"

#include <QMessageBox>

MessageBoxAlert::MessageBoxAlert(QWidget *window)
    : m_window(window)
{}

void MessageBoxAlert::showErrorAlert(const QString &detail)
{
    QMessageBox alert(m_window);
    alert.setIcon(QMessageBox::Critical);
    alert.setText(message);
    alert.setInformativeText(detail);
    alert.setStandardButtons(QMessageBox::Ok);
    alert.exec();
}
