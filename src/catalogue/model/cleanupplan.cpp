#include "cleanupplan.h"

#include "copyannotation.h"
#include "shellwords.h"

CleanupPlan CleanupPlan::of(const AppexList &records)
{
    QSet<QString> kept; // paths of a copy in use, or that may be
    for (const Appex &record : records) {
        if (record.active() != false)
            kept.insert(record.path());
    }
    CleanupPlan plan;
    QSet<QString> planned;
    for (const Appex &record : records) {
        const QString path = record.path();
        // A copy listed without its path cannot be removed by it.
        if (path.isEmpty() || kept.contains(path) || planned.contains(path))
            continue;
        if (const std::optional<QString> reason = staleReason(record)) {
            planned.insert(path);
            plan.m_steps << Step{{Registration::Action::Unregister, path}, *reason};
        }
    }
    return plan;
}

CleanupPlan CleanupPlan::without(const QSet<QString> &paths) const
{
    CleanupPlan plan;
    for (const Step &step : m_steps) {
        if (!paths.contains(step.removal.path))
            plan.m_steps << step;
    }
    return plan;
}

std::optional<QString> CleanupPlan::staleReason(const Appex &record)
{
    if (record.active() != false)
        return std::nullopt;
    switch (CopyAnnotation::placeOf(record.bytes(AppexField::Path))) {
    case CopyAnnotation::Place::BuildFolder:
        return tr("a development build");
    case CopyAnnotation::Place::Trash:
        return tr("in the Trash");
    case CopyAnnotation::Place::DiskImage:
        return tr("on a disk image");
    case CopyAnnotation::Place::Installed:
        break;
    }
    if (record.problems().testFlag(AppexProblem::Missing))
        return tr("missing from disk");
    return std::nullopt;
}

QString CleanupPlan::commands(bool withReasons) const
{
    QString text;
    for (const Step &step : m_steps) {
        text += ShellWords::toolCommand(step.removal.toolArguments());
        if (withReasons)
            text += QStringLiteral("  # ") + step.reason;
        text += u'\n';
    }
    return text;
}
