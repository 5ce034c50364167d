#include "listingtool.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>

namespace {

ListingTool::Result failure(QString text)
{
    return {QByteArray(), std::move(text)};
}

int remainingMilliseconds(const QDeadlineTimer &deadline)
{
    return int(qMin<qint64>(deadline.remainingTime(), std::numeric_limits<int>::max()));
}

} // namespace

ListingTool::ListingTool(QString path, std::chrono::milliseconds timeout)
    : m_path(std::move(path))
    , m_timeout(timeout)
{}

QString ListingTool::defaultPath()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("/usr/bin/pluginkit");
#else
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/" ZEPHLIST_STAND_IN_FROM_BINDIR));
#endif
}

ListingTool::Result ListingTool::run() const
{
    QProcess process;
    process.setProgram(m_path);
    process.setArguments({QStringLiteral("-m"), QStringLiteral("-vv")});
    // Only standard output is ours; the tool shares the app's input and error streams.
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);

    const QDeadlineTimer deadline(m_timeout);
    const auto stop = [&process](QString why) {
        process.kill();
        process.waitForFinished();
        return failure(std::move(why));
    };
    const auto timedOut = [&] {
        const double seconds = std::chrono::duration<double>(m_timeout).count();
        return stop(QStringLiteral("pluginkit did not finish within %1 seconds and was stopped.")
                        .arg(seconds));
    };

    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(remainingMilliseconds(deadline))) {
        if (process.error() == QProcess::Timedout)
            return timedOut();
        return failure(QStringLiteral("pluginkit could not be started (%1): %2.")
                           .arg(m_path, process.errorString()));
    }

    // Read to the end before waiting for the exit: a listing larger than the
    // pipe would otherwise keep the tool from ever exiting.
    QByteArray output;
    while (true) {
        output += process.readAllStandardOutput();
        if (output.size() > maxOutputBytes) {
            return stop(
                QStringLiteral("pluginkit wrote more than %1 MiB; its listing was discarded.")
                    .arg(maxOutputBytes / (1024 * 1024)));
        }
        if (process.state() == QProcess::NotRunning)
            break;
        if (!process.waitForReadyRead(remainingMilliseconds(deadline)) &&
            process.state() != QProcess::NotRunning &&
            !process.waitForFinished(remainingMilliseconds(deadline)))
            return timedOut();
    }

    if (process.exitStatus() == QProcess::CrashExit)
        return failure(QStringLiteral("pluginkit stopped unexpectedly (killed by a signal)."));
    if (process.exitCode() != 0)
        return failure(QStringLiteral("Error %1 when running pluginkit.").arg(process.exitCode()));
    return {std::move(output), QString()};
}
