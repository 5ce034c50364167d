#include "toolsource.h"

#include "processgroupstopper.h"

#include <QProcess>

#include <unistd.h>

ToolSource::ToolSource(QString program, QStringList arguments, std::chrono::milliseconds timeout,
                       QObject *parent)
    : ListingSource(parent)
    , m_program(std::move(program))
    , m_arguments(std::move(arguments))
    , m_timeout(timeout)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &ToolSource::timedOut);
}

ToolSource::~ToolSource()
{
    stopTool();
}

void ToolSource::start()
{
    m_process = new QProcess(this);
    m_process->setProgram(m_program);
    m_process->setArguments(m_arguments);
    m_process->setStandardInputFile(QProcess::nullDevice());
    // A group of its own, so that stopping the tool stops what it started too.
    m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ToolSource::readOutput);
    connect(m_process, &QProcess::readyReadStandardError, this, &ToolSource::readErrors);
    connect(m_process, &QProcess::finished, this, &ToolSource::processFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // QProcess may say so within start(): told on the next turn, as every
        // other ending is, so that no caller hears of the end before start() returns.
        if (error == QProcess::FailedToStart)
            QMetaObject::invokeMethod(this, &ToolSource::processFailed, Qt::QueuedConnection);
    });
    m_deadline.start(m_timeout);
    m_process->start(QIODevice::ReadOnly);
    // The child makes its own group too: whichever runs first, a stop that
    // comes at once finds the group made.
    if (const qint64 pid = m_process->processId(); pid > 0)
        ::setpgid(pid_t(pid), pid_t(pid));
}

void ToolSource::abort()
{
    m_deadline.stop();
    stopTool();
}

void ToolSource::readOutput()
{
    const QByteArray bytes = m_process->readAllStandardOutput();
    if (!bytes.isEmpty())
        emit bytesRead(QByteArrayView(bytes));
}

void ToolSource::readErrors()
{
    m_errors += m_process->readAllStandardError();
    if (m_errors.size() > keptErrorBytes)
        m_errors.remove(0, m_errors.size() - keptErrorBytes);
}

void ToolSource::processFinished(int exitCode, int exitStatus)
{
    readOutput();   // what the tool wrote just before it exited
    if (!m_process) // a receiver stopped it: the output went past a limit
        return;
    readErrors();
    if (exitStatus == QProcess::CrashExit)
        finish(QStringLiteral("pluginkit stopped unexpectedly (killed by a signal)."));
    else if (exitCode != 0)
        finish(QStringLiteral("Error %1 when running pluginkit.").arg(exitCode));
    else
        finish(QString());
}

void ToolSource::processFailed()
{
    if (m_process) // else aborted meanwhile
        finish(QStringLiteral("pluginkit could not be started (%1): %2.")
                   .arg(m_program, m_process->errorString()));
}

void ToolSource::timedOut()
{
    const double seconds = std::chrono::duration<double>(m_timeout).count();
    stopTool();
    finish(
        QStringLiteral("pluginkit did not finish within %1 seconds and was stopped.").arg(seconds));
}

void ToolSource::finish(const QString &failureText)
{
    m_deadline.stop();
    // Bytes cut off at the front may start inside a character.
    const QString detail = QString::fromUtf8(m_errors).trimmed();
    if (m_process) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    emit finished(failureText, detail);
}

void ToolSource::stopTool()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning)
        ProcessGroupStopper::stop(m_process);
    else
        m_process->deleteLater();
    m_process = nullptr;
}
