#include "filedialogopenpanel.h"

#include "settings.h"

#include <QFileDialog>
#include <QFileInfo>

FileDialogOpenPanel::FileDialogOpenPanel(QWidget *window)
    : m_window(window)
{}

void FileDialogOpenPanel::begin(const QString &title, const QString &folder, Completion completion)
{
    // Owned by the window: closing the window closes its panels, unanswered.
    auto *dialog =
        new QFileDialog(m_window, title, folder.isEmpty() ? Settings::lastFolder() : folder,
                        QObject::tr("Listings (*.txt);;All files (*)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [dialog, completion = std::move(completion)](int result) {
                         const QString file = result == QDialog::Accepted
                                                  ? dialog->selectedFiles().value(0)
                                                  : QString();
                         if (!file.isEmpty())
                             Settings::storeLastFolder(QFileInfo(file).absolutePath());
                         completion(file);
                     });
    dialog->show();
}
