#pragma once

#include "appex.h"
#include "listingcomparison.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRect>
#include <QString>
#include <QUrl>

// What the main window says and allows, decided from plain values so that
// the rules are tried without widgets: its title, the names it proposes, its
// questions, which commands apply to a record, and its summaries.
class WindowRules
{
    Q_DECLARE_TR_FUNCTIONS(WindowRules)

public:
    // Where the list shown came from: a file, or the tool, stamped with the
    // window's start once the tool listed.
    [[nodiscard]] static QString title(const QString &listingFile, bool toolListed,
                                       const QDateTime &startDate);
    // The file name proposed for saving the listing shown.
    [[nodiscard]] static QString proposedListingName(const QString &listingFile,
                                                     const QDateTime &now);
    // A record's name for a command or question; its identifier if it has none.
    [[nodiscard]] static QString nameOf(const Appex &record);
    // What asking to disable a record's extension, or its copy alone, says.
    struct Confirmation
    {
        QString question;
        QString detail;
        QString action; // the button that agrees
    };
    [[nodiscard]] static Confirmation disableConfirmation(const Appex &record, bool copyAlone);
    // What asking to remove the registration of a record's copy says.
    [[nodiscard]] static Confirmation unregisterConfirmation(const Appex &record);
    // What asking to register the bundle at `path` says.
    [[nodiscard]] static Confirmation registerConfirmation(const QString &path);
    // What asking to give a record's extension back to the system's choice says.
    [[nodiscard]] static Confirmation resetConfirmation(const Appex &record);

    // Which commands apply to the current record, if any.
    struct Commands
    {
        bool showInFileManager = false;
        bool enable = false;
        bool disable = false;
        bool reset = false;
        // One copy, by its UUID: only where the listing tells which copy is used.
        bool enableCopy = false;
        bool disableCopy = false;
        bool unregister = false;

        friend bool operator==(const Commands &, const Commands &) = default;
    };
    // Elections act on the system's extensions: only on those of the tool's
    // own listing, not removed since a comparison, and never while a job runs.
    [[nodiscard]] static Commands commandsFor(const Appex *record, AppexChange change,
                                              bool fromFile, bool busy);
    // The election commands' texts, naming the record they act on.
    [[nodiscard]] static QString enableText(const Appex *record);
    [[nodiscard]] static QString disableText(const Appex *record);
    [[nodiscard]] static QString resetText(const Appex *record);
    // The tool's command behind each command that applies to `record`, as a
    // shell reads it, after the command's name: for Copy Command.
    struct ToolCommand
    {
        QString name;
        QString line;
    };
    [[nodiscard]] static QList<ToolCommand> toolCommands(const Appex &record,
                                                         const Commands &applicable);

    [[nodiscard]] static QString countText(qsizetype count);
    // How many of the records a search or a scope leaves: "40 of 472".
    [[nodiscard]] static QString shownCountText(qsizetype shown, qsizetype count);
    // How many records have problems, if any, and how many match a search,
    // if one is made: "4 with problems · 40 matches"; empty for neither.
    [[nodiscard]] static QString countsText(qsizetype withProblems,
                                            std::optional<qsizetype> matches);
    [[nodiscard]] static QString changeSummary(qsizetype added, qsizetype changed,
                                               qsizetype removed);
    // What stands between two counts in a line of them: " · ".
    [[nodiscard]] static QString countSeparator();
    [[nodiscard]] static QString savedText(const QString &file);
    // A kept listing's entry in File ▸ History, the newest at `position` 0:
    // the first ten numbered 1 to 9 and 0, each digit its key.
    [[nodiscard]] static QString historyEntryText(qsizetype position, const QDateTime &time,
                                                  qsizetype records);

    // The one local file among `urls` that a drop would open; empty when
    // there is none, or more than one thing.
    [[nodiscard]] static QString droppedFile(const QList<QUrl> &urls);

    // Where a new window goes below and right of `front`: back at the top left
    // of `available` once a step further would leave it.
    [[nodiscard]] static QRect cascaded(const QRect &front, const QRect &available);
    // `frame` moved, then shrunk, so that it lies wholly within `available`.
    [[nodiscard]] static QRect keptWithin(const QRect &frame, const QRect &available);
};
