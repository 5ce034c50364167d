#include "windowservices.h"

#include "filedialogopenpanel.h"
#include "filedialogsavepanel.h"
#include "messageboxalert.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

bool askByMessageBox(QWidget *window, const QString &question, const QString &detail,
                     const QString &action)
{
    QMessageBox box(QMessageBox::Question, QString(), question, QMessageBox::Cancel, window);
    box.setTextFormat(Qt::PlainText); // a name is no markup
    box.setInformativeText(detail);
    QPushButton *accept = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

} // namespace

void WindowServices::completeFor(QWidget *window)
{
    if (!reportPanel)
        reportPanel = std::make_unique<FileDialogSavePanel>(
            window, FileDialogSavePanel::FileType{QObject::tr("Save Report as RTF"),
                                                  QObject::tr("Rich Text Format (*.rtf)"), ".rtf"});
    if (!listingPanel)
        listingPanel = std::make_unique<FileDialogSavePanel>(
            window, FileDialogSavePanel::FileType{QObject::tr("Save Listing"),
                                                  QObject::tr("Listings (*.txt)"), ".txt"});
    if (!openPanel)
        openPanel = std::make_unique<FileDialogOpenPanel>(window);
    if (!errorAlert)
        errorAlert = std::make_unique<MessageBoxAlert>(window);
    if (!confirm)
        confirm = [window](const QString &question, const QString &detail, const QString &action) {
            return askByMessageBox(window, question, detail, action);
        };
}
