#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// Runs the extension-registry tool with "-m -vv" and collects what it prints.
//
// Runs synchronously: it returns when the tool has exited, was stopped, or
// could not be started.
class ListingTool
{
public:
    struct Result
    {
        QByteArray output;   // the tool's standard output, when it succeeded
        QString failureText; // why the run failed; empty on success
    };

    static constexpr std::chrono::milliseconds defaultTimeout = std::chrono::seconds(60);
    static constexpr qsizetype maxOutputBytes = qsizetype(256) * 1024 * 1024;

    explicit ListingTool(QString path, std::chrono::milliseconds timeout = defaultTimeout);

    // The system's tool on macOS; elsewhere the stand-in installed with the app.
    [[nodiscard]] static QString defaultPath();

    [[nodiscard]] Result run() const;

private:
    QString m_path;
    std::chrono::milliseconds m_timeout;
};
