#include "windowrules.h"

#include "datestamp.h"
#include "election.h"
#include "listinghistory.h"
#include "registration.h"
#include "shellwords.h"

#include <QFileInfo>
#include <QLocale>

namespace {

// " “Name”" for a command's text, its & shown as such.
QString quotedName(const Appex *record)
{
    if (!record)
        return {};
    return QStringLiteral(" \u201C%1\u201D")
        .arg(WindowRules::nameOf(*record))
        .replace(QChar(u'&'), QStringLiteral("&&"));
}

} // namespace

QString WindowRules::title(const QString &listingFile, bool toolListed, const QDateTime &startDate)
{
    if (!listingFile.isEmpty())
        return tr("Zephlist \u2014 %1").arg(ListingHistory::shownName(listingFile));
    return toolListed ? tr("Zephlist %1").arg(dateStamp(startDate)) : tr("Zephlist");
}

// A kept listing is named as the tool's is, by the time it was kept.
QString WindowRules::proposedListingName(const QString &listingFile, const QDateTime &now)
{
    if (listingFile.isEmpty())
        return tr("Zephlist listing %1.txt").arg(dateStamp(now));
    if (const std::optional<QDateTime> kept = ListingHistory::keptAt(listingFile))
        return tr("Zephlist listing %1.txt").arg(dateStamp(*kept));
    return QFileInfo(listingFile).fileName();
}

QString WindowRules::nameOf(const Appex &record)
{
    const QString name = record.name().isEmpty() ? record.identifier() : record.name();
    return name.size() > 40 ? name.left(39) + u'\u2026' : name;
}

WindowRules::Confirmation WindowRules::disableConfirmation(const Appex &record, bool copyAlone)
{
    if (copyAlone)
        return {tr("Disable this copy of \u201C%1\u201D?").arg(nameOf(record)),
                tr("The copy at %1 will no longer be used. This takes effect for your user "
                   "account until you enable it again.")
                    .arg(record.path()),
                tr("Disable")};
    return {tr("Disable \u201C%1\u201D?").arg(nameOf(record)),
            tr("The extension %1 will no longer be used. This takes effect for your user account "
               "until you enable it again.")
                .arg(record.identifier()),
            tr("Disable")};
}

WindowRules::Confirmation WindowRules::unregisterConfirmation(const Appex &record)
{
    const Registration removal = Registration::of(Registration::Action::Unregister, record.path());
    return {tr("Unregister the copy of \u201C%1\u201D at %2?").arg(nameOf(record), record.path()),
            tr("macOS forgets this copy; nothing is removed from disk, and the copy can be "
               "registered again. The command:\n%1")
                .arg(ShellWords::toolCommand(removal.toolArguments())),
            tr("Unregister")};
}

WindowRules::Confirmation WindowRules::registerConfirmation(const QString &path)
{
    const Registration addition = Registration::of(Registration::Action::Register, path);
    return {tr("Register the extension at %1?").arg(path),
            tr("macOS adds this copy to the extensions it knows. The command:\n%1")
                .arg(ShellWords::toolCommand(addition.toolArguments())),
            tr("Register")};
}

WindowRules::Confirmation WindowRules::resetConfirmation(const Appex &record)
{
    return {tr("Reset \u201C%1\u201D to default?").arg(nameOf(record)),
            tr("macOS will decide again by itself whether to use the extension %1, whatever "
               "you chose for it before.")
                .arg(record.identifier()),
            tr("Reset")};
}

WindowRules::Commands WindowRules::commandsFor(const Appex *record, AppexChange change,
                                               bool fromFile, bool busy)
{
    if (!record)
        return {};
    const bool live =
        !fromFile && !busy && !record->identifier().isEmpty() && change != AppexChange::Removed;
    const std::optional<bool> active = record->active();
    const bool liveCopy = live && active.has_value() && !record->uuid().isEmpty();
    return {!record->path().isEmpty(),
            live && record->election() != AppexElection::Use,
            live && record->election() != AppexElection::Ignore,
            live,
            liveCopy && !*active,
            liveCopy && *active,
            live && !record->path().isEmpty()};
}

QList<WindowRules::ToolCommand> WindowRules::toolCommands(const Appex &record,
                                                          const Commands &applicable)
{
    using Choice = Election::Choice;
    using Target = Election::Target;
    const struct
    {
        bool applies;
        const char *name;
        QStringList arguments;
    } commands[] = {
        {applicable.enable, QT_TR_NOOP("Enable"),
         Election{record.identifier(), Choice::Use, Target::Identifier}.toolArguments()},
        {applicable.disable, QT_TR_NOOP("Disable"),
         Election{record.identifier(), Choice::Ignore, Target::Identifier}.toolArguments()},
        {applicable.reset, QT_TR_NOOP("Reset to Default"),
         Election{record.identifier(), Choice::Default, Target::Identifier}.toolArguments()},
        {applicable.enableCopy, QT_TR_NOOP("Use This Copy"),
         Election{record.uuid(), Choice::Use, Target::Copy}.toolArguments()},
        {applicable.disableCopy, QT_TR_NOOP("Disable This Copy"),
         Election{record.uuid(), Choice::Ignore, Target::Copy}.toolArguments()},
        {applicable.unregister, QT_TR_NOOP("Unregister This Copy"),
         Registration::of(Registration::Action::Unregister, record.path()).toolArguments()},
    };
    QList<ToolCommand> lines;
    for (const auto &command : commands) {
        if (command.applies)
            lines << ToolCommand{tr(command.name), ShellWords::toolCommand(command.arguments)};
    }
    return lines;
}

QString WindowRules::enableText(const Appex *record)
{
    return tr("&Enable%1").arg(quotedName(record));
}

QString WindowRules::disableText(const Appex *record)
{
    return tr("&Disable%1\u2026").arg(quotedName(record));
}

QString WindowRules::resetText(const Appex *record)
{
    return tr("&Reset%1 to Default").arg(quotedName(record));
}

QString WindowRules::countText(qsizetype count)
{
    return count == 1 ? tr("1 appex") : tr("%L1 appexes").arg(count);
}

QString WindowRules::shownCountText(qsizetype shown, qsizetype count)
{
    return tr("%L1 of %L2").arg(shown).arg(count);
}

QString WindowRules::countsText(qsizetype withProblems, std::optional<qsizetype> matches)
{
    QStringList counts;
    if (withProblems > 0)
        counts << tr("%L1 with problems").arg(withProblems);
    if (matches)
        counts << (*matches == 1 ? tr("1 match") : tr("%L1 matches").arg(*matches));
    return counts.join(countSeparator());
}

QString WindowRules::changeSummary(qsizetype added, qsizetype changed, qsizetype removed)
{
    return tr("%L1 added \u00b7 %L2 changed \u00b7 %L3 removed")
        .arg(added)
        .arg(changed)
        .arg(removed);
}

QString WindowRules::countSeparator()
{
    return QStringLiteral(" \u00b7 ");
}

QString WindowRules::savedText(const QString &file)
{
    return tr("Saved \u201C%1\u201D").arg(QFileInfo(file).fileName());
}

QString WindowRules::historyEntryText(qsizetype position, const QDateTime &time, qsizetype records)
{
    const QString entry = tr("%1 \u2014 %2 extensions")
                              .arg(QLocale().toString(time.toLocalTime(), QLocale::ShortFormat),
                                   QLocale().toString(records));
    constexpr qsizetype numbered = 10;
    if (position >= numbered)
        return entry;
    return QStringLiteral("&%1 %2").arg((position + 1) % numbered).arg(entry);
}

QString WindowRules::droppedFile(const QList<QUrl> &urls)
{
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

QRect WindowRules::cascaded(const QRect &front, const QRect &available)
{
    constexpr int step = 24;
    QRect next = front.translated(step, step);
    if (!available.contains(next))
        next.moveTopLeft(available.topLeft());
    return keptWithin(next, available);
}

QRect WindowRules::keptWithin(const QRect &frame, const QRect &available)
{
    QRect kept(frame.topLeft(), frame.size().boundedTo(available.size()));
    kept.moveLeft(std::clamp(kept.left(), available.left(), available.right() - kept.width() + 1));
    kept.moveTop(std::clamp(kept.top(), available.top(), available.bottom() - kept.height() + 1));
    return kept;
}
