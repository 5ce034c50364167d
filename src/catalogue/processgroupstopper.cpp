#include "processgroupstopper.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <csignal>

void ProcessGroupStopper::stop(QProcess *leader)
{
    const pid_t group = pid_t(leader->processId());
    if (group <= 0) { // never started, or already reaped with its group
        leader->deleteLater();
        return;
    }
    new ProcessGroupStopper(leader, group); // owned by the application
}

ProcessGroupStopper::ProcessGroupStopper(QProcess *leader, pid_t group)
    : QObject(QCoreApplication::instance())
    , m_group(group)
    , m_leader(leader)
{
    leader->disconnect();
    leader->setParent(this);
    ::kill(-m_group, SIGTERM);
    connect(leader, &QProcess::finished, this, [this] {
        if (groupIsGone()) {
            m_done = true;
            deleteLater();
        }
    });
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
        if (m_leader->state() != QProcess::NotRunning)
            m_leader->waitForFinished(10); // reaps the leader as it exits
        else
            QThread::msleep(10);
    }
    killWhatIsLeft();
}

bool ProcessGroupStopper::groupIsGone() const
{
    return ::kill(-m_group, 0) != 0 && errno == ESRCH;
}

void ProcessGroupStopper::killWhatIsLeft()
{
    // Never to a group known to be gone: its number may be another's by now.
    if (!m_done && !groupIsGone())
        ::kill(-m_group, SIGKILL);
    m_done = true;
}
