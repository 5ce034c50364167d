#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

#include <sys/types.h>

class QProcess;

// Stops a process group: SIGTERM now, SIGKILL to whatever is left when the
// grace period ends. It lives on its own, so the stopping goes on after the
// job that started it is gone; when the application ends first, it waits out
// what is left of the grace period then.
//
// A group's number is free for another group once its last process has
// ended: the group is watched until then, and never signalled after.
class ProcessGroupStopper : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds gracePeriod = std::chrono::seconds(2);

    // Takes `leader` (its group is its process id) away from its owner.
    static void stop(QProcess *leader);
    // Stops what is left of `group` once its leader has ended and been reaped.
    static void stopRest(pid_t group);

    ~ProcessGroupStopper() override;

private:
    ProcessGroupStopper(QProcess *leader, pid_t group);
    [[nodiscard]] bool groupIsGone() const;
    void killWhatIsLeft();

    pid_t m_group;
    QProcess *m_leader; // null when it ended before the stop
    QTimer m_watch;
    bool m_done = false;
};
