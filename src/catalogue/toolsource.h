#pragma once

#include "listingsource.h"

#include <QStringList>
#include <QTimer>

#include <chrono>

class QProcess;

// Runs the listing tool as a job of its own: the tool's standard output is
// the listing, read as it arrives; the end of its standard error is kept for
// the failure's detail. The tool runs in a process group of its own, and
// everything in that group is stopped when the job is aborted, takes longer
// than its time-out, or is destroyed while the tool runs.
class ToolSource : public ListingSource
{
    Q_OBJECT

public:
    static constexpr qsizetype keptErrorBytes = 4096;

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
    void timedOut();
    void finish(const QString &failureText);
    void stopTool();

    QString m_program;
    QStringList m_arguments;
    std::chrono::milliseconds m_timeout;
    QProcess *m_process = nullptr;
    QTimer m_deadline;
    QByteArray m_errors; // the last keptErrorBytes of standard error
};
