#pragma once

#include "jobfailure.h"

#include <QObject>
#include <QStringList>

#include <chrono>

class ToolSource;

// Runs one command of the listing tool that changes the system's
// registrations, an election say, without waiting. What the tool prints is
// kept, not read as a listing. Ends with one finished(): the tool's words, or
// why it failed.
class CommandJob : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype keptOutputBytes = 4096;

    CommandJob(QString toolPath, QStringList arguments, std::chrono::milliseconds timeout);
    ~CommandJob() override;

    void start();
    void cancel();
    // "Running pluginkit -e use -i com.example.Widget"
    [[nodiscard]] QString description() const;

signals:
    void finished(const JobResult<QString> &result);

private:
    void sourceFinished(const std::optional<QString> &failure, const QString &detail);

    const QStringList m_arguments;
    std::unique_ptr<ToolSource> m_source;
    QByteArray m_output; // its first keptOutputBytes
    bool m_ended = false;
};
