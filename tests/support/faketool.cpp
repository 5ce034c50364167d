#include "faketool.h"

#include <QFile>

#include <csignal>

QString FakeTool::write(const QString &name, const QByteArray &script)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the fake tool %s", qPrintable(file.fileName()));
    file.write("#!/bin/sh\n[ \"$#\" = 2 ] && [ \"$1\" = -m ] && [ \"$2\" = -vv ] || exit 64\n" +
               script + '\n');
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return file.fileName();
}

QString FakeTool::printing(const QByteArray &listing, int status)
{
    const QString listingName = QStringLiteral("listing%1.txt").arg(++m_count);
    QFile file(m_dir.filePath(listingName));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(listing);
    file.close();
    return write(QStringLiteral("tool%1").arg(m_count),
                 "cat '" + file.fileName().toUtf8() + "'\nexit " + QByteArray::number(status));
}

bool FakeTool::isRunning(const QString &pidFile)
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray pid = file.readAll().trimmed();
    if (pid.toInt() <= 0 || ::kill(pid.toInt(), 0) != 0)
        return false;
    QFile status(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
    if (!status.open(QIODevice::ReadOnly))
        return true; // no /proc: a zombie counts as running
    const QByteArray line = status.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}
