#include "filedialogsavepanel.h"

#include "rtffiledialog.h"

FileDialogSavePanel::FileDialogSavePanel(QWidget *window)
    : m_window(window)
{}

void FileDialogSavePanel::begin(const QString &proposedName, Completion completion)
{
    // Owned by the window: closing the window closes its panels, unanswered.
    auto *dialog = new RtfFileDialog(m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::NonModal);
    dialog->selectFile(proposedName);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [dialog, completion = std::move(completion)](int result) {
                         if (result == QDialog::Accepted)
                             completion(Response::OK, dialog->chosenFile());
                         else
                             completion(Response::Cancel, QString());
                     });
    m_lastDialog = dialog;
    dialog->show();
}
