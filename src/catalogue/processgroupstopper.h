#pragma once

#include <QObject>

#include <chrono>

#include <sys/types.h>

class QProcess;

// Stops a process group: SIGTERM now, SIGKILL to whatever is left when the
// grace period ends. It takes the group's leader and lives on its own, so the
// stopping goes on after the job that started it is gone; when the
// application ends first, it waits out what is left of the grace period then.
class ProcessGroupStopper : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds gracePeriod = std::chrono::seconds(2);

    // Takes `leader` (its group is its process id) away from its owner.
    static void stop(QProcess *leader);

    ~ProcessGroupStopper() override;

private:
    ProcessGroupStopper(QProcess *leader, pid_t group);
    [[nodiscard]] bool groupIsGone() const;
    void killWhatIsLeft();

    pid_t m_group;
    QProcess *m_leader;
    bool m_done = false;
};
