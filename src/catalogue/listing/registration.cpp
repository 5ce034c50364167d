#include "registration.h"

#include <QDir>

Registration Registration::of(Action action, const QString &path)
{
    return {action, QDir::cleanPath(QDir::current().absoluteFilePath(path))};
}

QStringList Registration::toolArguments() const
{
    return {action == Action::Register ? QStringLiteral("-a") : QStringLiteral("-r"), path};
}
