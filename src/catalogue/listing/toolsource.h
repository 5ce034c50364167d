#pragma once

#include "listingsource.h"

#include <QStringList>
#include <QTimer>

#include <chrono>
#include <optional>

#include <sys/types.h>

class QProcess;
class QSocketNotifier;

// Runs the listing tool as a job of its own: the tool's standard output is
// the listing, read as it arrives; the end of its standard error is kept for
// the failure's detail. The tool runs in a process group of its own, and
// everything in that group is stopped when the job is aborted, takes longer
// than its time-out, or is destroyed while the tool runs, and what is left of
// it once the tool has ended.
//
// The listing ends when every process that holds the tool's standard output
// has closed it, not when the tool exits: what the tool started may write
// the rest of the listing after it.
class ToolSource : public ListingSource
{
    Q_OBJECT

public:
    static constexpr qsizetype keptErrorBytes = 4096;

    // The system's tool on macOS; elsewhere the stand-in installed with the app.
    [[nodiscard]] static QString defaultToolPath();

    ToolSource(QString program, QStringList arguments, std::chrono::milliseconds timeout,
               QObject *parent = nullptr);
    ~ToolSource() override;

    void start() override;
    void abort() override;

private:
    void readOutput();
    void readErrors();
    void processFinished(int exitCode, int exitStatus);
    void processFailed();
    void finishOnceRead();
    void finish(const std::optional<QString> &failure);
    void stopTool();
    void closeOutput();
    [[nodiscard]] QString notStartedText(const QString &reason) const;
    [[nodiscard]] QString timedOutText() const;

    QString m_program;
    QStringList m_arguments;
    std::chrono::milliseconds m_timeout;
    QProcess *m_process = nullptr; // until the tool has ended
    pid_t m_group = 0;             // until the group is stopped
    int m_output = -1;             // the read end of the tool's standard output
    QSocketNotifier *m_outputNotifier = nullptr;
    QByteArray m_piece; // reused: fresh memory for every piece costs more than reading it
    bool m_exited = false;
    std::optional<QString> m_exitFailure; // once the tool has ended: why it failed, if it did
    QTimer m_deadline;
    QByteArray m_errors; // the last keptErrorBytes of standard error
};
