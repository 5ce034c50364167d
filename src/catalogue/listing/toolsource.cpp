#include "toolsource.h"

#include "processgroupstopper.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace {

// A pipe's capacity: one read takes what a turn of the event loop found.
constexpr qsizetype pieceBytes = 64 * 1024;

// In the tool, before it runs. Out of the terminal's reach, the tool would
// outlive a parent killed outright (SIGKILL), which stops nothing: on Linux
// the kernel kills it then. It follows the thread that started it, the main
// one. A `parent` gone before this was set has left the child to another.
void endWithParent([[maybe_unused]] pid_t parent)
{
#ifdef Q_OS_LINUX
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127);
#endif
}

} // namespace

QString ToolSource::defaultToolPath()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("/usr/bin/pluginkit");
#else
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/" ZEPHLIST_STAND_IN_FROM_BINDIR));
#endif
}

ToolSource::ToolSource(QString program, QStringList arguments, std::chrono::milliseconds timeout,
                       QObject *parent)
    : ListingSource(parent)
    , m_program(std::move(program))
    , m_arguments(std::move(arguments))
    , m_timeout(timeout)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { finish(timedOutText()); });
}

ToolSource::~ToolSource()
{
    stopTool();
}

void ToolSource::start()
{
    // The tool's standard output is a pipe of ours rather than QProcess's,
    // which stops reading once the tool exits.
    int output[2] = {-1, -1};
    if (::pipe(output) != 0) {
        const QString reason = qt_error_string(errno);
        QMetaObject::invokeMethod(
            this, [this, reason] { finish(notStartedText(reason)); }, Qt::QueuedConnection);
        return;
    }
    ::fcntl(output[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(output[1], F_SETFD, FD_CLOEXEC);
    ::fcntl(output[0], F_SETFL, O_NONBLOCK);
    m_output = output[0];
    m_outputNotifier = new QSocketNotifier(m_output, QSocketNotifier::Read, this);
    connect(m_outputNotifier, &QSocketNotifier::activated, this, &ToolSource::readOutput);

    m_process = new QProcess(this);
    m_process->setProgram(m_program);
    m_process->setArguments(m_arguments);
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setChildProcessModifier([writeEnd = output[1], parent = ::getpid()] {
        // A group of its own, so that stopping the tool stops what it started too.
        ::setpgid(0, 0);
        endWithParent(parent);
        // Run once QProcess has set the child's channels: this replaces /dev/null.
        ::dup2(writeEnd, STDOUT_FILENO);
    });
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
    ::close(output[1]); // the tool and what it starts hold it now
    // The child makes its own group too: whichever runs first, a stop that
    // comes at once finds the group made.
    if (const qint64 pid = m_process->processId(); pid > 0) {
        m_group = pid_t(pid);
        ::setpgid(m_group, m_group);
    }
}

void ToolSource::abort()
{
    m_deadline.stop();
    stopTool();
}

void ToolSource::readOutput()
{
    m_piece.resize(pieceBytes);
    const ssize_t size = ::read(m_output, m_piece.data(), size_t(pieceBytes));
    if (size < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (size > 0) {
        emit bytesRead(QByteArrayView(m_piece).first(size));
        return;
    }
    if (size < 0) {
        finish(tr("The listing could not be read from pluginkit: %1.").arg(qt_error_string(errno)));
        return;
    }
    closeOutput(); // every writer has closed it
    finishOnceRead();
}

void ToolSource::readErrors()
{
    m_errors += m_process->readAllStandardError();
    if (m_errors.size() > keptErrorBytes)
        m_errors.remove(0, m_errors.size() - keptErrorBytes);
}

void ToolSource::processFinished(int exitCode, int exitStatus)
{
    readErrors();
    m_process->disconnect(this);
    m_process->deleteLater(); // reaped: its group lives on while anything is left in it
    m_process = nullptr;
    if (exitStatus == QProcess::CrashExit)
        m_exitFailure = tr("pluginkit stopped unexpectedly (killed by a signal).");
    else if (exitCode != 0)
        m_exitFailure = tr("Error %1 when running pluginkit.").arg(exitCode);
    m_exited = true;
    if (m_exitFailure)
        closeOutput(); // the rest of a failed listing does not matter
    finishOnceRead();
}

void ToolSource::processFailed()
{
    if (!m_process) // aborted meanwhile
        return;
    m_group = 0; // it never ran
    finish(notStartedText(m_process->errorString()));
}

// The tool has ended and its listing been read: whatever is left of its
// group goes too.
void ToolSource::finishOnceRead()
{
    if (m_exited && m_output < 0)
        finish(m_exitFailure);
}

QString ToolSource::notStartedText(const QString &reason) const
{
    // QProcess names the call that failed ("execvp: Permission denied"),
    // which tells the user nothing: the system's reason alone stays.
    static const QRegularExpression call(QStringLiteral("^(?:.*: )?(?:exec|posix_spawn)\\w*: "));
    return tr("pluginkit could not be started (%1): %2.")
        .arg(m_program, QString(reason).remove(call));
}

QString ToolSource::timedOutText() const
{
    const auto seconds = int(std::chrono::duration_cast<std::chrono::seconds>(m_timeout).count());
    if (seconds == 0)
        return tr("pluginkit did not finish within less than a second and was stopped.");
    return seconds == 1
               ? tr("pluginkit did not finish within %n second and was stopped.", nullptr, seconds)
               : tr("pluginkit did not finish within %n seconds and was stopped.", nullptr,
                    seconds);
}

void ToolSource::finish(const std::optional<QString> &failure)
{
    m_deadline.stop();
    // Bytes cut off at the front may start inside a character.
    const QString detail = QString::fromUtf8(m_errors).trimmed();
    stopTool();
    emit finished(failure, detail);
}

void ToolSource::stopTool()
{
    closeOutput();
    if (m_process && m_process->state() != QProcess::NotRunning) {
        ProcessGroupStopper::stop(m_process);
    } else {
        if (m_process) {
            m_process->disconnect(this);
            m_process->deleteLater();
        }
        ProcessGroupStopper::stopRest(m_group);
    }
    m_process = nullptr;
    m_group = 0;
}

void ToolSource::closeOutput()
{
    if (m_output < 0)
        return;
    // Deleted later: this may be within its own signal.
    m_outputNotifier->setEnabled(false);
    m_outputNotifier->deleteLater();
    m_outputNotifier = nullptr;
    ::close(m_output);
    m_output = -1;
}
