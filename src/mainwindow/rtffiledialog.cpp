#include "rtffiledialog.h"

#include <QFileInfo>
#include <QMessageBox>

RtfFileDialog::RtfFileDialog(QWidget *parent)
    : QFileDialog(parent)
{
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(tr("Rich Text Format (*.rtf)"));
    // Our own confirmation, for the name as completed; the native dialogs
    // would not ask about a name they never saw.
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
}

QString RtfFileDialog::completedName(const QString &name)
{
    return name.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive) ? name
                                                                     : name + QLatin1String(".rtf");
}

void RtfFileDialog::accept()
{
    const QStringList files = selectedFiles();
    if (files.isEmpty() || QFileInfo(files.first()).isDir()) {
        QFileDialog::accept(); // lets the dialog enter the folder
        return;
    }
    const QString file = completedName(files.first());
    if (QFileInfo::exists(file)) {
        const auto answer =
            QMessageBox::warning(this, windowTitle(),
                                 tr("\u201C%1\u201D already exists. Do you want to replace it?")
                                     .arg(QFileInfo(file).fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    m_chosenFile = file;
    QFileDialog::accept();
}
