#pragma once

#include <QString>
#include <QTemporaryDir>

// Executable shell scripts that stand in for the listing tool in tests.
class FakeTool
{
public:
    // A tool that runs `script` (shell commands) when called with "-m -vv".
    [[nodiscard]] QString write(const QString &name, const QByteArray &script);
    // A tool that prints `listing` exactly and exits with `status`.
    [[nodiscard]] QString printing(const QByteArray &listing, int status = 0);
    [[nodiscard]] QString path(const QString &name) const { return m_dir.filePath(name); }

    // Whether the process whose id a tool wrote to `pidFile` runs: a zombie
    // no longer does, whether or not anything reaps it.
    [[nodiscard]] static bool isRunning(const QString &pidFile);

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};
