#include "golden.h"
#include "listinghistory.h"
#include "listingparser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <thread>

#include <sys/resource.h>

namespace {

const QDateTime someTime = QDateTime(QDate(2026, 12, 8), QTime(14, 2, 3, 45), Qt::UTC);

// A listing of `records` blocks, told apart by `tag`.
QByteArray listing(int tag, int records = 1)
{
    QByteArray text;
    for (int i = 0; i < records; ++i)
        text += "+    com.example.T" + QByteArray::number(tag) +
                "(1)\n\tUUID = " + QByteArray::number(i) + "\n\n";
    return text;
}

// What each entry of `history` holds, oldest first.
QList<QByteArray> contents(const ListingHistory &history)
{
    QList<QByteArray> kept;
    for (const ListingHistory::Entry &entry : history.entries().entries) {
        const JobResult<QByteArray> bytes = history.read(entry);
        kept << (std::holds_alternative<QByteArray>(bytes) ? std::get<QByteArray>(bytes)
                                                           : QByteArray("unreadable"));
    }
    return kept;
}

// The file `kept` names, whether it was kept now or was the newest already.
QString keptFile(const ListingHistory::Kept &kept)
{
    return kept.warning ? *kept.warning : kept.entry ? kept.entry->file : QStringLiteral("none");
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestListingHistory : public QObject
{
    Q_OBJECT

private slots:
    void keepsOnlyWhatChanged();
    void knowsTheNewestByItsHash();
    void readsTheFirstFormat();
    void entryBefore();
    void namesOfKeptListings_data();
    void namesOfKeptListings();
    void dropsTheOldest_data();
    void dropsTheOldest();
    void passesOverFilesItCannotRead();
    void twoWritersLoseNothing();
    void unwritableFolders();
    void changesSince_data();
    void changesSince();

private:
    QTemporaryDir m_dir;
};

void TestListingHistory::keepsOnlyWhatChanged()
{
    const ListingHistory history(m_dir.filePath("same"));
    const ListingHistory::Kept first = history.keep(listing(1, 3), 3, someTime);
    QCOMPARE(first.before, std::nullopt);
    QCOMPARE(first.warning, std::nullopt);
    // The same again: the entry that holds it is the newest, also the one before.
    const ListingHistory::Kept same = history.keep(listing(1, 3), 3, someTime.addSecs(60));
    QCOMPARE(same.entry, first.entry);
    QCOMPARE(same.before, first.entry);
    // Twice in one second, and even in one millisecond: two files.
    const ListingHistory::Kept second = history.keep(listing(2), 1, someTime.addSecs(60));
    QCOMPARE(second.before, first.entry);
    const ListingHistory::Kept third = history.keep(listing(1, 3), 3, someTime.addSecs(60));
    QCOMPARE(third.before, second.entry);
    const QList<ListingHistory::Entry> entries = history.entries().entries;
    QCOMPARE(entries, QList<ListingHistory::Entry>({*first.entry, *second.entry, *third.entry}));
    QCOMPARE(entries.first().time, someTime);
    QCOMPARE(entries.first().records, 3);
    QVERIFY(QFileInfo(entries.first().file).fileName().startsWith("20261208T140203.045Z-"));
    QCOMPARE(contents(history), QList<QByteArray>({listing(1, 3), listing(2), listing(1, 3)}));
    // The format: a header line, then the listing as it was.
    QFile kept(entries.first().file);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    const QByteArray bytes = kept.readAll();
    COMPARE_GOLDEN(bytes, "history/kept.listing");
    // A kept file opened as a listing, as the window opens and compares
    // with one, reads as the listing kept: its first line is no record's.
    const AppexList records = parseListing(bytes);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.first().identifier(), QStringLiteral("com.example.T1"));
    QCOMPARE(history.clear(), QStringList());
    QCOMPARE(history.entries().entries.size(), 0);
}

// Whether a listing is the newest is told by the hash in the newest's
// header, without reading it: here the listing in it is not what its header says.
void TestListingHistory::knowsTheNewestByItsHash()
{
    QTemporaryDir folder;
    const ListingHistory history(folder.path());
    const QString newest = keptFile(history.keep(listing(1), 1, someTime));
    QFile file(newest);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray bytes = file.readAll();
    QVERIFY(file.seek(bytes.size() - 2) && file.write("X") == 1);
    file.close();
    QCOMPARE(keptFile(history.keep(listing(1), 1, someTime.addSecs(60))), newest);
    QCOMPARE(history.entries().entries.size(), 1);
    // A header whose hash is no SHA-256 is no kept listing's.
    QVERIFY(write(folder.filePath("20261208T150000.000Z-1-000000.listing"),
                  "zephlist-listing 2 records 1 bytes 1 sha256 12ab\nA"));
    QVERIFY(write(folder.filePath("20261208T150000.000Z-1-000001.listing"),
                  "zephlist-listing 2 records 1 bytes 1 sha256 " + QByteArray(64, 'g') + "\nA"));
    QCOMPARE(history.entries().notes.size(), 2);
}

// A history kept by the version before, whose headers have no hash: its
// files read as ever, and the newest is compared with whole.
void TestListingHistory::readsTheFirstFormat()
{
    QTemporaryDir folder;
    const ListingHistory history(folder.path());
    const QString first = folder.filePath("20261206T140200.000Z-7-000000.listing");
    QVERIFY(write(first, "zephlist-listing 1 records 1 bytes " +
                             QByteArray::number(listing(1).size()) + '\n' + listing(1)));
    const QList<ListingHistory::Entry> entries = history.entries().entries;
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().sha256, QByteArray());
    QCOMPARE(contents(history), QList<QByteArray>{listing(1)});
    QCOMPARE(keptFile(history.keep(listing(1), 1, someTime)), first);
    const QString second = keptFile(history.keep(listing(2), 1, someTime));
    QVERIFY(second != first);
    QCOMPARE(contents(history), QList<QByteArray>({listing(1), listing(2)}));
}

// Before a kept file, whether it is still there; the newest before none.
void TestListingHistory::entryBefore()
{
    QTemporaryDir folder;
    const ListingHistory history(folder.path());
    QCOMPARE(history.entryBefore({}), std::nullopt);
    QList<QString> kept;
    for (int tag = 1; tag <= 4; ++tag)
        kept << keptFile(history.keep(listing(tag), 1, someTime.addSecs(tag)));
    QVERIFY(QFile::remove(kept[2]));
    QCOMPARE(history.entryBefore({})->file, kept[3]);
    QCOMPARE(history.entryBefore(kept[3])->file, kept[1]);
    QCOMPARE(history.entryBefore(kept[2])->file, kept[1]);
    QCOMPARE(history.entryBefore("/elsewhere/" + QFileInfo(kept[1]).fileName())->file, kept[0]);
    QCOMPARE(history.entryBefore(kept[0]), std::nullopt);
}

void TestListingHistory::namesOfKeptListings_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    // Names are made of the time in UTC; the user reads his own.
    const QDateTime local(QDate(2026, 12, 8), QTime(17, 32, 5));
    const QString stamp = local.toUTC().toString("yyyyMMdd'T'HHmmss.zzz");
    QTest::newRow("kept") << "/h/" + stamp + "Z-4711-000003.listing"
                          << "Listing of 08/12/2026 17:32";
    QTest::newRow("another file") << "/h/notes.txt"
                                  << "notes.txt";
    QTest::newRow("not of a kept time")
        << "/h/" + stamp + "-1-000000.listing" << stamp + "-1-000000.listing";
    QTest::newRow("no time") << "/h/undated.listing"
                             << "undated.listing";
    QTest::newRow("other suffix") << "/h/" + stamp + "Z-1-000000.txt" << stamp + "Z-1-000000.txt";
}

void TestListingHistory::namesOfKeptListings()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QCOMPARE(ListingHistory::shownName(file), name);
    QLocale::setDefault(QLocale::system());
}

void TestListingHistory::dropsTheOldest_data()
{
    QTest::addColumn<qsizetype>("listings");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QList<int>>("kept"); // the tags of the listings kept, of 1 to 5

    const qint64 oneFile = qint64(listing(1, 20).size()) + 128; // and its header
    QTest::newRow("by count") << qsizetype(3) << qint64(1 << 30) << QList<int>{3, 4, 5};
    QTest::newRow("by size") << qsizetype(100) << 2 * oneFile << QList<int>{4, 5};
    QTest::newRow("the newest, larger than all allowed")
        << qsizetype(100) << qint64(10) << QList<int>{5};
}

void TestListingHistory::dropsTheOldest()
{
    QFETCH(qsizetype, listings);
    QFETCH(qint64, bytes);
    QFETCH(QList<int>, kept);
    QTemporaryDir folder;
    const ListingHistory history(folder.path(), {listings, bytes});
    for (int tag = 1; tag <= 5; ++tag)
        QCOMPARE(history.keep(listing(tag, 20), 20, someTime.addSecs(tag)).warning, std::nullopt);
    QList<QByteArray> expected;
    for (const int tag : kept)
        expected << listing(tag, 20);
    QCOMPARE(contents(history), expected);
}

// Each is named with why, and none is ever the newest or dropped.
void TestListingHistory::passesOverFilesItCannotRead()
{
    QTemporaryDir folder;
    const ListingHistory history(folder.path());
    QCOMPARE(history.keep(listing(1), 1, someTime).warning, std::nullopt);
    const QString later = folder.filePath("20261208T150000.000Z-1-000000.listing");
    QVERIFY(write(later, "zephlist-listing 3 records 1 bytes 3 more words\nnew"));
    QVERIFY(write(folder.filePath("20261208T150000.000Z-1-000001.listing"),
                  "zephlist-listing 1 records 1 bytes 100\ncut"));
    QVERIFY(write(folder.filePath("20261208T150000.000Z-1-000002.listing"), "some notes\n"));
    QVERIFY(write(folder.filePath("20261208T150000.000Z-1-000003.listing"), ""));
    QVERIFY(write(folder.filePath("undated.listing"), "zephlist-listing 1 records 0 bytes 0\n"));
    QVERIFY(write(folder.filePath("notes.txt"), "not ours"));

    const ListingHistory::Entries found = history.entries();
    QCOMPARE(found.entries.size(), 1);
    const QString over = "Passed over " + folder.path() + '/';
    QCOMPARE(found.notes,
             QStringList({over + "20261208T150000.000Z-1-000000.listing: kept by a newer Zephlist",
                          over + "20261208T150000.000Z-1-000001.listing: cut short",
                          over + "20261208T150000.000Z-1-000002.listing: not a kept listing",
                          over + "20261208T150000.000Z-1-000003.listing: not a kept listing",
                          over + "undated.listing: its name tells no time"}));
    // The same listing again is the newest readable one: not kept twice.
    QCOMPARE(history.keep(listing(1), 1, someTime.addSecs(7200)).entry, found.entries.first());
    QCOMPARE(history.entries().entries.size(), 1);
    QVERIFY(QFile::exists(later));
}

void TestListingHistory::twoWritersLoseNothing()
{
    QTemporaryDir folder;
    const auto writer = [&](int first) {
        const ListingHistory history(folder.path());
        for (int tag = first; tag < first + 30; ++tag) {
            if (history.keep(listing(tag), 1, someTime).warning)
                qFatal("a listing was not kept");
        }
    };
    std::thread one(writer, 0);
    std::thread other(writer, 100);
    one.join();
    other.join();
    const QList<QByteArray> kept = contents(ListingHistory(folder.path()));
    QCOMPARE(kept.size(), 60);
    QCOMPARE(QSet<QByteArray>(kept.begin(), kept.end()).size(), 60);
}

// The listing is not kept, and nothing kept before is lost.
void TestListingHistory::unwritableFolders()
{
    QTemporaryDir folder;
    QVERIFY(write(folder.filePath("file"), "a file"));
    const ListingHistory underAFile(folder.filePath("file/history"));
    QCOMPARE(underAFile.keep(listing(1), 1, someTime).warning,
             "The listing was not kept in the history: cannot make the folder " +
                 folder.filePath("file/history"));

    // A disk that is full: files may grow no larger than a few KiB.
    const ListingHistory history(folder.filePath("full"));
    QCOMPARE(history.keep(listing(1), 1, someTime).warning, std::nullopt);
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit small{4096, saved.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::optional<QString> warning = history.keep(listing(2, 400), 400, someTime).warning;
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QVERIFY2(warning && warning->startsWith("The listing was not kept in the history: "),
             qPrintable(warning.value_or("none")));
    QCOMPARE(contents(history), QList<QByteArray>{listing(1)});
    QCOMPARE(QDir(folder.filePath("full")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestListingHistory::changesSince_data()
{
    QTest::addColumn<QList<int>>("changes");
    QTest::addColumn<QString>("text");
    const int added = int(AppexChange::Added);
    const int changed = int(AppexChange::Changed);
    const int removed = int(AppexChange::Removed);
    QTest::newRow("added and changed")
        << QList<int>{added, changed, added} << "Since 6 Dec 14:02: 2 added, 1 changed";
    QTest::newRow("of every kind") << QList<int>{removed, changed, added}
                                   << "Since 6 Dec 14:02: 1 added, 1 removed, 1 changed";
    QTest::newRow("none") << QList<int>{} << "Since 6 Dec 14:02: no changes";
}

void TestListingHistory::changesSince()
{
    QFETCH(QList<int>, changes);
    QFETCH(QString, text);
    QList<ComparedAppex> compared;
    for (const int change : changes)
        compared << ComparedAppex{AppexChange(change), Appex(), 0};
    const QDateTime local(QDate(2026, 12, 6), QTime(14, 2, 59));
    QCOMPARE(ListingHistory::changesSince(local.toUTC(), compared), text);
}

QTEST_GUILESS_MAIN(TestListingHistory)
#include "tst_listinghistory.moc"
