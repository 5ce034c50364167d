#pragma once

#include <QString>
#include <QStringList>

// What the user elects for an extension: the tool's `-e use|ignore|default`,
// for every copy of an identifier (`-i`) or for one copy by its UUID (`-u`).
struct Election
{
    enum class Choice { Use, Ignore, Default };
    enum class Target { Identifier, Copy };

    QString target; // the identifier, or the copy's UUID
    Choice choice = Choice::Default;
    Target kind = Target::Identifier;

    // The listing tool's arguments that make it: "-e", "use", "-u", UUID.
    [[nodiscard]] QStringList toolArguments() const;
};
