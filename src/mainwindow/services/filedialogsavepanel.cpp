#include "filedialogsavepanel.h"

#include "settings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

FileDialogSavePanel::FileDialogSavePanel(QWidget *window, FileType type)
    : m_window(window)
    , m_type(std::move(type))
{}

void FileDialogSavePanel::begin(const QString &proposedName, Completion completion)
{
    // Owned by the window: closing the window closes its panels, unanswered.
    auto *dialog =
        new QFileDialog(m_window, m_type.title, Settings::lastFolder(), m_type.nameFilter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->selectFile(proposedName);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [this, dialog, completion = std::move(completion)](int result) {
                         if (result == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
                             chosen(dialog->selectedFiles().first(), completion);
                         else
                             completion(Response::Cancel, QString());
                     });
    dialog->show();
}

QString FileDialogSavePanel::completedName(const QString &name) const
{
    return name.endsWith(m_type.suffix, Qt::CaseInsensitive) ? name : name + m_type.suffix;
}

void FileDialogSavePanel::chosen(const QString &file, const Completion &completion)
{
    const QString completed = completedName(file);
    Settings::storeLastFolder(QFileInfo(completed).absolutePath());
    if (completed != file && QFileInfo::exists(completed)) {
        const auto answer = QMessageBox::warning(
            m_window, QString(),
            QObject::tr("\u201C%1\u201D already exists. Do you want to replace it?")
                .arg(QFileInfo(completed).fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            begin(QFileInfo(completed).fileName(), completion); // the user picks again
            return;
        }
    }
    completion(Response::OK, completed);
}
