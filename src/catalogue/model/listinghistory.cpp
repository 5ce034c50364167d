#include "listinghistory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>

#include <atomic>

namespace {

const QByteArray magic = QByteArrayLiteral("zephlist-listing");
const QString nameTimeFormat = QStringLiteral("yyyyMMdd'T'HHmmss.zzz");
constexpr qsizetype nameTimeLength = 19; // "20261208T143907.123"
const QString suffix = QStringLiteral(".listing");
constexpr qsizetype longestHeader = 200;

const QByteArray hashName = QByteArrayLiteral("sha256");

QByteArray sha256Of(QByteArrayView listing)
{
    return QCryptographicHash::hash(listing, QCryptographicHash::Sha256).toHex();
}

// "zephlist-listing 2 records 472 bytes 10240 sha256 9f86d0…"
QByteArray headerOf(QByteArrayView listing, qsizetype records, const QByteArray &sha256)
{
    return magic + ' ' + QByteArray::number(ListingHistory::formatVersion) + " records " +
           QByteArray::number(records) + " bytes " + QByteArray::number(listing.size()) + ' ' +
           hashName + ' ' + sha256 + '\n';
}

// Whether the words after the first six of a header are those of its
// format's version: none in the first, the listing's hash since.
bool hashFits(int version, const QList<QByteArray> &words)
{
    if (version < 2)
        return words.size() == 6;
    return words.size() == 8 && words[6] == hashName && words[7].size() == 64 &&
           QByteArray::fromHex(words[7]).toHex() == words[7];
}

// Unique among the names this process makes, and the process among others.
QString fileNameAt(const QDateTime &time)
{
    static std::atomic<int> count = 0;
    return time.toUTC().toString(nameTimeFormat) + QStringLiteral("Z-") +
           QString::number(QCoreApplication::applicationPid()) + u'-' +
           QStringLiteral("%1").arg(count++, 6, 10, QLatin1Char('0')) + suffix;
}

} // namespace

QString ListingHistory::defaultFolder()
{
    const QString folder = qEnvironmentVariable("ZEPHLIST_HISTORY_DIR");
    if (!folder.isEmpty())
        return folder;
    // The app's own data folder (its AppDataLocation), whichever program
    // asks: the window and zephlist-cli keep one history.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Zephlist/Zephlist/history");
}

ListingHistory::ListingHistory(QString folder)
    : ListingHistory(std::move(folder), Limits{})
{}

ListingHistory::ListingHistory(QString folder, Limits limits)
    : m_folder(std::move(folder))
    , m_limits(limits)
{}

ListingHistory::Kept ListingHistory::keep(QByteArrayView listing, qsizetype records,
                                          const QDateTime &time) const
{
    // Read once: the newest to compare with, and all to drop the oldest of.
    QList<Entry> all = entries().entries;
    Kept kept;
    if (!all.isEmpty())
        kept.before = all.last();
    const QByteArray sha256 = sha256Of(listing);
    if (kept.before && holds(*kept.before, listing, sha256)) {
        kept.entry = kept.before;
        return kept;
    }
    const auto notKept = [&kept](const QString &reason) {
        kept.warning = tr("The listing was not kept in the history: %1").arg(reason);
        return kept;
    };
    if (!QDir().mkpath(m_folder))
        return notKept(tr("cannot make the folder %1").arg(m_folder));
    const QString path = QDir(m_folder).filePath(fileNameAt(time));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return notKept(file.errorString());
    const QByteArray header = headerOf(listing, records, sha256);
    // Flushed before the commit: a commit of Qt 6.4 after a write that failed
    // on a full disk keeps the file cut short.
    if (file.write(header) != header.size() ||
        file.write(listing.data(), listing.size()) != listing.size() || !file.flush() ||
        !file.commit())
        return notKept(file.errorString());
    kept.entry = Entry{time.toUTC(), records, path, header.size() + listing.size(), sha256};
    all << *kept.entry;
    dropOldest(all, path);
    return kept;
}

bool ListingHistory::holds(const Entry &entry, QByteArrayView listing,
                           const QByteArray &sha256) const
{
    if (!entry.sha256.isEmpty())
        return entry.sha256 == sha256;
    const JobResult<QByteArray> kept = read(entry);
    const auto *bytes = std::get_if<QByteArray>(&kept);
    return bytes && *bytes == listing;
}

ListingHistory::Entries ListingHistory::entries() const
{
    Entries found;
    const QStringList names = QDir(m_folder).entryList(
        {u'*' + suffix}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        JobResult<Entry> entry = entryOf(QDir(m_folder).filePath(name));
        if (auto *failure = std::get_if<JobFailure>(&entry))
            found.notes << failure->text;
        else
            found.entries << std::get<Entry>(entry);
    }
    return found;
}

std::optional<ListingHistory::Entry> ListingHistory::entryBefore(const QString &file) const
{
    const QList<Entry> all = entries().entries;
    // The names sort by time, as the entries do.
    const QString name = QFileInfo(file).fileName();
    for (auto entry = all.crbegin(); entry != all.crend(); ++entry) {
        if (name.isEmpty() || QFileInfo(entry->file).fileName() < name)
            return *entry;
    }
    return std::nullopt;
}

JobResult<ListingHistory::Entry> ListingHistory::entryOf(const QString &path) const
{
    const auto skipped = [&path](const QString &why) {
        return JobFailure{tr("Passed over %1: %2").arg(QDir::toNativeSeparators(path), why), {}};
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return skipped(file.errorString());
    const QByteArray header = file.readLine(longestHeader).trimmed();
    const QList<QByteArray> words = header.split(' ');
    bool numbers =
        words.size() >= 6 && words[0] == magic && words[2] == "records" && words[4] == "bytes";
    bool ok = false;
    const int version = numbers ? words[1].toInt(&ok) : 0;
    numbers = numbers && ok;
    if (numbers && version > formatVersion)
        return skipped(tr("kept by a newer Zephlist"));
    const qsizetype records = numbers ? words[3].toLongLong(&ok) : 0;
    numbers = numbers && ok;
    const qint64 bytes = numbers ? words[5].toLongLong(&ok) : 0;
    if (!(numbers && ok) || records < 0 || bytes < 0 || !hashFits(version, words))
        return skipped(tr("not a kept listing"));
    if (file.size() - file.pos() != bytes)
        return skipped(tr("cut short"));
    const std::optional<QDateTime> time = keptAt(path);
    if (!time)
        return skipped(tr("its name tells no time"));
    return Entry{*time, records, path, file.size(), words.value(7)};
}

JobResult<QByteArray> ListingHistory::read(const Entry &entry) const
{
    QFile file(entry.file);
    if (!file.open(QIODevice::ReadOnly))
        return JobFailure{tr("Cannot read %1: %2").arg(entry.file, file.errorString()), {}};
    file.readLine(longestHeader);
    QByteArray listing = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return JobFailure{tr("Cannot read %1: %2").arg(entry.file, file.errorString()), {}};
    return listing;
}

void ListingHistory::dropOldest(const QList<Entry> &all, const QString &kept) const
{
    qsizetype count = all.size();
    qint64 total = 0;
    for (const Entry &entry : all)
        total += entry.size;
    for (const Entry &entry : all) {
        if (count <= m_limits.listings && total <= m_limits.bytes)
            break;
        if (entry.file == kept)
            continue;
        // Another process may have dropped it first: either way it is gone.
        QFile::remove(entry.file);
        total -= entry.size;
        --count;
    }
}

QStringList ListingHistory::clear() const
{
    QStringList warnings;
    for (const Entry &entry : entries().entries) {
        QFile file(entry.file);
        if (!file.remove())
            warnings << tr("Cannot remove %1: %2").arg(entry.file, file.errorString());
    }
    return warnings;
}

QString ListingHistory::changesSince(const QDateTime &time, const QList<ComparedAppex> &changes)
{
    qsizetype counts[4] = {};
    for (const ComparedAppex &change : changes)
        ++counts[int(change.change)];
    return changesSince(time, counts[int(AppexChange::Added)], counts[int(AppexChange::Changed)],
                        counts[int(AppexChange::Removed)]);
}

QString ListingHistory::changesSince(const QDateTime &time, qsizetype added, qsizetype changed,
                                     qsizetype removed)
{
    QStringList parts;
    if (added)
        parts << tr("%1 added").arg(added);
    if (removed)
        parts << tr("%1 removed").arg(removed);
    if (changed)
        parts << tr("%1 changed").arg(changed);
    const QString since = time.toLocalTime().toString(QStringLiteral("d MMM HH:mm"));
    return tr("Since %1: %2").arg(since, parts.isEmpty() ? tr("no changes") : parts.join(u", "));
}

std::optional<QDateTime> ListingHistory::keptAt(const QString &file)
{
    const QString name = QFileInfo(file).fileName();
    if (!name.endsWith(suffix) || name.mid(nameTimeLength, 2) != QLatin1String("Z-"))
        return std::nullopt;
    QDateTime time = QDateTime::fromString(name.left(nameTimeLength), nameTimeFormat);
    time.setTimeSpec(Qt::UTC);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

QString ListingHistory::shownName(const QString &file)
{
    if (const std::optional<QDateTime> time = keptAt(file))
        return tr("Listing of %1")
            .arg(QLocale().toString(time->toLocalTime(), QLocale::ShortFormat));
    return QFileInfo(file).fileName();
}
