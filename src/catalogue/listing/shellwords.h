#pragma once

#include <QString>
#include <QStringList>

// Commands as a POSIX shell reads them back, to paste into a terminal or a
// script: each word as it stands when it holds only characters that a shell
// leaves alone, else in single quotes.
namespace ShellWords {

[[nodiscard]] QString quoted(const QString &word);
// "pluginkit -r '/Applications/My App.app/…'"
[[nodiscard]] QString commandLine(const QString &program, const QStringList &arguments);
// The listing tool's command, named as a user types it: "pluginkit -r PATH".
// What the CLI's --print-command prints and the window's Copy Command copies.
[[nodiscard]] QString toolCommand(const QStringList &arguments);

} // namespace ShellWords
