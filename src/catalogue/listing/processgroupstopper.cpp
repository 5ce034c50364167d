#include "processgroupstopper.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <csignal>

namespace {

constexpr std::chrono::milliseconds watchInterval(20);

bool isGone(pid_t group)
{
    return ::kill(-group, 0) != 0 && errno == ESRCH;
}

} // namespace

void ProcessGroupStopper::stop(QProcess *leader)
{
    const pid_t group = pid_t(leader->processId());
    if (group <= 0) { // never started, or already reaped with its group
        leader->deleteLater();
        return;
    }
    new ProcessGroupStopper(leader, group); // owned by the application
}

void ProcessGroupStopper::stopRest(pid_t group)
{
    if (group > 0 && !isGone(group))
        new ProcessGroupStopper(nullptr, group); // owned by the application
}

ProcessGroupStopper::ProcessGroupStopper(QProcess *leader, pid_t group)
    : QObject(QCoreApplication::instance())
    , m_group(group)
    , m_leader(leader)
{
    if (m_leader) {
        m_leader->disconnect();
        m_leader->setParent(this); // it reaps the leader as it exits
    }
    ::kill(-m_group, SIGTERM);
    connect(&m_watch, &QTimer::timeout, this, [this] {
        if (groupIsGone()) {
            m_done = true;
            m_watch.stop();
            deleteLater();
        }
    });
    m_watch.start(watchInterval);
    QTimer::singleShot(gracePeriod, this, [this] {
        killWhatIsLeft();
        deleteLater();
    });
}

ProcessGroupStopper::~ProcessGroupStopper()
{
    if (m_done)
        return;
    // The application is ending before the grace period did: wait for it here.
    const QDeadlineTimer deadline(gracePeriod);
    while (!deadline.hasExpired() && !groupIsGone()) {
        if (m_leader && m_leader->state() != QProcess::NotRunning)
            m_leader->waitForFinished(10); // reaps the leader as it exits
        else
            QThread::msleep(10);
    }
    killWhatIsLeft();
}

bool ProcessGroupStopper::groupIsGone() const
{
    return isGone(m_group);
}

void ProcessGroupStopper::killWhatIsLeft()
{
    // Never to a group known to be gone: its number may be another's by now.
    if (!m_done && !groupIsGone())
        ::kill(-m_group, SIGKILL);
    m_done = true;
}
