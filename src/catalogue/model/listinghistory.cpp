#include "listinghistory.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <atomic>

namespace {

const QByteArray magic = QByteArrayLiteral("zephlist-listing");
const QString nameTimeFormat = QStringLiteral("yyyyMMdd'T'HHmmss.zzz");
constexpr qsizetype nameTimeLength = 19; // "20261208T143907.123"
const QString suffix = QStringLiteral(".listing");
constexpr qsizetype longestHeader = 200;

// "zephlist-listing 1 records 472 bytes 10240"
QByteArray headerOf(QByteArrayView listing, qsizetype records)
{
    return magic + ' ' + QByteArray::number(ListingHistory::formatVersion) + " records " +
           QByteArray::number(records) + " bytes " + QByteArray::number(listing.size()) + '\n';
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

std::optional<QString> ListingHistory::keep(QByteArrayView listing, qsizetype records,
                                            const QDateTime &time) const
{
    if (const std::optional<Entry> last = newest()) {
        const JobResult<QByteArray> kept = read(*last);
        if (const auto *bytes = std::get_if<QByteArray>(&kept); bytes && *bytes == listing)
            return std::nullopt;
    }
    const auto notKept = [](const QString &reason) {
        return tr("The listing was not kept in the history: %1").arg(reason);
    };
    if (!QDir().mkpath(m_folder))
        return notKept(tr("cannot make the folder %1").arg(m_folder));
    const QString path = QDir(m_folder).filePath(fileNameAt(time));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return notKept(file.errorString());
    const QByteArray header = headerOf(listing, records);
    // Flushed before the commit: a commit of Qt 6.4 after a write that failed
    // on a full disk keeps the file cut short.
    if (file.write(header) != header.size() ||
        file.write(listing.data(), listing.size()) != listing.size() || !file.flush() ||
        !file.commit())
        return notKept(file.errorString());
    dropOldest(path);
    return std::nullopt;
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

std::optional<ListingHistory::Entry> ListingHistory::newest() const
{
    const QList<Entry> all = entries().entries;
    return all.isEmpty() ? std::nullopt : std::optional(all.last());
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
        words.size() == 6 && words[0] == magic && words[2] == "records" && words[4] == "bytes";
    bool ok = false;
    const int version = numbers ? words[1].toInt(&ok) : 0;
    numbers = numbers && ok;
    const qsizetype records = numbers ? words[3].toLongLong(&ok) : 0;
    numbers = numbers && ok;
    const qint64 bytes = numbers ? words[5].toLongLong(&ok) : 0;
    if (!(numbers && ok) || records < 0 || bytes < 0)
        return skipped(tr("not a kept listing"));
    if (version > formatVersion)
        return skipped(tr("kept by a newer Zephlist"));
    if (file.size() - file.pos() != bytes)
        return skipped(tr("cut short"));
    const QString name = QFileInfo(path).fileName();
    QDateTime time = QDateTime::fromString(name.left(nameTimeLength), nameTimeFormat);
    time.setTimeSpec(Qt::UTC);
    if (!time.isValid())
        return skipped(tr("its name tells no time"));
    return Entry{time, records, path, file.size()};
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

void ListingHistory::dropOldest(const QString &kept) const
{
    const QList<Entry> all = entries().entries;
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
