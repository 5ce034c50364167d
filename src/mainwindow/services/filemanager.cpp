#include "filemanager.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace FileManager {

QString showFolderOf(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        return QCoreApplication::translate("FileManager", "\u201C%1\u201D is not on this computer.")
            .arg(folder);
#ifdef Q_OS_MACOS
    const bool shown =
        QProcess::startDetached(QStringLiteral("/usr/bin/open"), {QStringLiteral("-R"), path});
#else
    const bool shown = QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
#endif
    return shown ? QString()
                 : QCoreApplication::translate("FileManager",
                                               "No file manager could show \u201C%1\u201D.")
                       .arg(folder);
}

} // namespace FileManager
