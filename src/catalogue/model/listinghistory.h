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
// its record count, its size and the SHA-256 of the listing, which tells
// whether a listing is the newest without reading that whole (files of the
// first format have no hash, and are read whole): a file of a newer format,
// or cut short, or unreadable, is passed over with a note, never read as a
// listing. The work is all on files: a window does it off its own thread
// (HistoryKeeper). Each file
// has a name of its own, made of its time (UTC, so that names sort by time),
// the process and a count, so that two processes keeping listings at once
// lose none. A history that cannot be written is a warning, never a failure
// of the listing.
class ListingHistory
{
    Q_DECLARE_TR_FUNCTIONS(ListingHistory)

public:
    static constexpr int formatVersion = 2;

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
        qint64 size = 0;   // of the file
        QByteArray sha256; // of the listing, in hex; empty in a file of the first format

        friend bool operator==(const Entry &, const Entry &) = default;
    };

    // What keep() did with a listing.
    struct Kept
    {
        std::optional<Entry> entry;     // that holds it: new, or the newest, which was the same
        std::optional<Entry> before;    // the newest kept before it, if any
        std::optional<QString> warning; // why it could not be kept
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
    // limits, never the one just kept. Blocks on the folder's files.
    [[nodiscard]] Kept keep(QByteArrayView listing, qsizetype records, const QDateTime &time) const;
    [[nodiscard]] Entries entries() const;
    // The newest readable entry kept before the listing kept in `file`, a
    // kept file, whether or not it is still there; the newest of all when
    // `file` is empty.
    [[nodiscard]] std::optional<Entry> entryBefore(const QString &file) const;
    // The listing kept in `entry`, or why it cannot be read.
    [[nodiscard]] JobResult<QByteArray> read(const Entry &entry) const;
    // Drops every kept listing; a warning for each file that stays.
    [[nodiscard]] QStringList clear() const;

    // "Since 6 Dec 14:02: 2 added, 1 changed", the time the local one.
    [[nodiscard]] static QString changesSince(const QDateTime &time,
                                              const QList<ComparedAppex> &changes);
    [[nodiscard]] static QString changesSince(const QDateTime &time, qsizetype added,
                                              qsizetype changed, qsizetype removed);

    // When the listing in `file` was kept, if its name is that of a kept listing.
    [[nodiscard]] static std::optional<QDateTime> keptAt(const QString &file);
    // What the window calls the listing in `file`: "Listing of 08/12/2026
    // 17:32" for a kept one, in the user's locale and time zone, rather than
    // the name made to sort; else the file's name.
    [[nodiscard]] static QString shownName(const QString &file);

private:
    // Whether `entry` holds `listing`, whose hash is `sha256`.
    [[nodiscard]] bool holds(const Entry &entry, QByteArrayView listing,
                             const QByteArray &sha256) const;
    // The entry of the file at `path`, or why it is passed over.
    [[nodiscard]] JobResult<Entry> entryOf(const QString &path) const;
    // Drops the oldest of `all`, oldest first, beyond the limits.
    void dropOldest(const QList<Entry> &all, const QString &kept) const;

    QString m_folder;
    Limits m_limits;
};
