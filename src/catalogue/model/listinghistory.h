#pragma once

#include "jobfailure.h"
#include "listingcomparison.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>

// The tool's listings as they were, one file each, so that a later listing
// can say what changed since. A listing is kept only when it differs from
// the newest one kept; the oldest go first once there are more than the
// limits allow. Each file starts with a line that names its format's version,
// its record count and its size: a file of a newer format, or cut short, or
// unreadable, is passed over with a note, never read as a listing. Each file
// has a name of its own, made of its time (UTC, so that names sort by time),
// the process and a count, so that two processes keeping listings at once
// lose none. A history that cannot be written is a warning, never a failure
// of the listing.
class ListingHistory
{
    Q_DECLARE_TR_FUNCTIONS(ListingHistory)

public:
    static constexpr int formatVersion = 1;

    struct Limits
    {
        qsizetype listings = 100;
        qint64 bytes = 100 * 1024 * 1024;
    };

    struct Entry
    {
        QDateTime time; // UTC
        qsizetype records = 0;
        QString file;
        qint64 size = 0; // of the file
    };

    struct Entries
    {
        QList<Entry> entries; // oldest first
        QStringList notes;    // of the files passed over, and why
    };

    // The folder that ZEPHLIST_HISTORY_DIR names, else "history" in the
    // app's data folder, whichever program asks, the window or the CLI.
    [[nodiscard]] static QString defaultFolder();

    explicit ListingHistory(QString folder);
    ListingHistory(QString folder, Limits limits);

    [[nodiscard]] const QString &folder() const { return m_folder; }

    // Keeps `listing`, read at `time` and holding `records` records, unless
    // the newest kept listing is the same; then drops the oldest beyond the
    // limits, never the one just kept. A warning when it could not keep it.
    [[nodiscard]] std::optional<QString> keep(QByteArrayView listing, qsizetype records,
                                              const QDateTime &time) const;
    [[nodiscard]] Entries entries() const;
    // The newest readable entry, if any.
    [[nodiscard]] std::optional<Entry> newest() const;
    // The listing kept in `entry`, or why it cannot be read.
    [[nodiscard]] JobResult<QByteArray> read(const Entry &entry) const;
    // Drops every kept listing; a warning for each file that stays.
    [[nodiscard]] QStringList clear() const;

    // "Since 6 Dec 14:02: 2 added, 1 changed", the time the local one.
    [[nodiscard]] static QString changesSince(const QDateTime &time,
                                              const QList<ComparedAppex> &changes);
    [[nodiscard]] static QString changesSince(const QDateTime &time, qsizetype added,
                                              qsizetype changed, qsizetype removed);

private:
    // The entry of the file at `path`, or why it is passed over.
    [[nodiscard]] JobResult<Entry> entryOf(const QString &path) const;
    void dropOldest(const QString &kept) const;

    QString m_folder;
    Limits m_limits;
};
