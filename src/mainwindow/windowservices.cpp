#include "windowservices.h"

#include "filedialogopenpanel.h"
#include "filedialogsavepanel.h"
#include "messageboxalert.h"

#include <QMessageBox>

namespace {

bool askByMessageBox(QWidget *window, const QString &question, const QString &detail)
{
    QMessageBox box(QMessageBox::Question, QString(), question, QMessageBox::Cancel, window);
    box.setTextFormat(Qt::PlainText); // a name is no markup
    box.setInformativeText(detail);
    box.setDefaultButton(box.addButton(QObject::tr("Disable"), QMessageBox::AcceptRole));
    return box.exec() == 0; // the first button added: "Disable"
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
        confirm = [window](const QString &question, const QString &detail) {
            return askByMessageBox(window, question, detail);
        };
}
