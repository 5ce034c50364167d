#pragma once

#include "appex.h"
#include "registration.h"

#include <QCoreApplication>
#include <QList>
#include <QSet>

#include <optional>

// The registrations of stale copies, to remove: of every copy the system does
// not use that is a development build, lies in the Trash or on a disk image,
// or is missing from disk. Never a path where a copy in use lies, or one
// whose use the listing does not tell: a registration is removed by its path,
// for every copy there. Each path once, in the records' order.
class CleanupPlan
{
    Q_DECLARE_TR_FUNCTIONS(CleanupPlan)

public:
    struct Step
    {
        Registration removal;
        QString reason; // "in the Trash"
    };

    // The plan for `records`, which must hold every copy for any to be stale.
    [[nodiscard]] static CleanupPlan of(const AppexList &records);
    // Why `record` is stale, or nothing when it is not.
    [[nodiscard]] static std::optional<QString> staleReason(const Appex &record);
    // What a plan without a step says.
    [[nodiscard]] static QString noneText() { return tr("No stale copies to remove."); }

    [[nodiscard]] const QList<Step> &steps() const { return m_steps; }
    // This plan without the removals of `paths`, which the user keeps.
    [[nodiscard]] CleanupPlan without(const QSet<QString> &paths) const;
    [[nodiscard]] bool isEmpty() const { return m_steps.isEmpty(); }
    // The tool's commands, a line each as a shell reads them, with the
    // reason as a comment after each when asked for.
    [[nodiscard]] QString commands(bool withReasons) const;

private:
    QList<Step> m_steps;
};
