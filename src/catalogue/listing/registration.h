#pragma once

#include <QString>
#include <QStringList>

// A change to the system's registrations: the tool's `-a PATH` registers the
// bundle at PATH, `-r PATH` removes its registration. Neither touches the
// bundle on disk.
struct Registration
{
    enum class Action { Register, Unregister };

    Action action = Action::Register;
    QString path; // absolute and clean, as the tool names it in what it says

    // `path` made absolute against the working folder, without "." or "..";
    // not through symbolic links, which the system registers as they are named.
    [[nodiscard]] static Registration of(Action action, const QString &path);

    // "-r", PATH
    [[nodiscard]] QStringList toolArguments() const;
};
