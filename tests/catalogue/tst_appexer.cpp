#include "appexer.h"
#include "appexfilter.h"
#include "faketool.h"
#include "golden.h"
#include "listingparser.h"
#include "sortorder.h"
#include "sortranks.h"
#include "sparetime.h"
#include "testcatalogue.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList column(const QAbstractItemModel &model, int role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values << model.index(row, 0).data(role).toString();
    return values;
}

} // namespace

class TestAppexer : public QObject
{
    Q_OBJECT

private slots:
    void refreshIsOneResetOfTheModel();
    void failures_data();
    void failures();
    void standardErrorIsDetailNotListing();
    void capturedListings();
    void elections();
    void sortKeepsViewsOnTheirRecords();
    void comparison();
    void filterFollowsTheCatalogue();
    void preparedOnlyForTheRecordsShown();

private:
    FakeTool m_tools;
    const QByteArray m_newer = readTestData(QStringLiteral("listings/newer.txt"));
};

void TestAppexer::refreshIsOneResetOfTheModel()
{
    TestCatalogue appexer(m_tools.printing(m_newer));
    QAbstractItemModelTester tester(&appexer.model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&appexer.model, &QAbstractItemModel::modelReset);
    QSignalSpy busy(&appexer.controller, &CatalogueController::stateChanged);
    const QDateTime created = appexer.model.theDate();

    appexer.model.sortAppexList(SortCode::Name);
    appexer.controller.getAppexes();
    QVERIFY(appexer.controller.isBusy());
    appexer.controller.getAppexes(); // a second request while one runs does nothing
    QVERIFY(appexer.finished());
    QCOMPARE(resets.size(), 1);
    QCOMPARE(busy.size(), 2);
    QCOMPARE(column(appexer.model, Qt::DisplayRole).first(), QStringLiteral("Elected"));
    QCOMPARE(appexer.model.rowCount(), 10);
    QCOMPARE(appexer.model.listing(), m_newer); // exactly the bytes the tool printed
    QVERIFY(appexer.model.data(appexer.model.index(0), Qt::ToolTipRole)
                .toString()
                .contains("com.example"));

    QVERIFY(appexer.getAppexes(SortCode::Name));
    QCOMPARE(appexer.model.theDate(), created);
}

void TestAppexer::failures_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<qsizetype>("maxBytes");
    QTest::addColumn<qsizetype>("maxRecords");
    QTest::addColumn<QString>("failure");

    const qsizetype any = 1 << 20;
    QTest::newRow("status 1 with a listing")
        << m_tools.printing(m_newer, 1) << any << any << "Error 1 when running pluginkit.";
    QTest::newRow("status 255") << m_tools.printing(m_newer, 255) << any << any
                                << "Error 255 when running pluginkit.";
    QTest::newRow("missing tool") << m_tools.path("absent") << any << any
                                  << "pluginkit could not be started (" + m_tools.path("absent") +
                                         "): No such file or directory.";
    QTest::newRow("killed by a signal")
        << m_tools.write("crash", "echo 'UUID = 1'\nkill -9 $$") << any << any
        << "pluginkit stopped unexpectedly (killed by a signal).";
    QTest::newRow("hangs") << m_tools.write("hang", "exec sleep 60") << any << any
                           << "pluginkit did not finish within less than a second and was stopped.";
    QTest::newRow("not UTF-8") << m_tools.printing("UUID = \xff\xfe\n") << any << any
                               << "The listing is not valid UTF-8 text, so none of it was read.";
    QTest::newRow("not UTF-8 and status 3: the status tells")
        << m_tools.printing("UUID = \xff\n", 3) << any << any << "Error 3 when running pluginkit.";
    QTest::newRow("a character cut off at the end")
        << m_tools.printing("UUID = \xc3") << any << any
        << "The listing is not valid UTF-8 text, so none of it was read.";
    QTest::newRow("larger than the cap")
        << m_tools.write("flood", "exec head -c 3000000 /dev/zero") << qsizetype(2 * 1024 * 1024)
        << any << "The listing is larger than 2 MiB, so none of it was read.";
    QTest::newRow("more records than the cap")
        << m_tools.printing(m_newer) << any << qsizetype(9)
        << "The listing holds more than 9 records, so none of it was read.";
    QTest::newRow("the last record past the cap, with no blank line after it")
        << m_tools.printing(readTestData("listings/older.txt") + "\nUUID = tenth") << any
        << qsizetype(9) << "The listing holds more than 9 records, so none of it was read.";
}

void TestAppexer::failures()
{
    QFETCH(QString, tool);
    QFETCH(QString, failure);
    ListingLimits limits;
    limits.timeout = std::chrono::milliseconds(300);
    QFETCH(qsizetype, maxBytes);
    QFETCH(qsizetype, maxRecords);
    limits.maxBytes = maxBytes;
    limits.maxRecords = maxRecords;

    TestCatalogue appexer(tool, limits);
    QVERIFY(appexer.loadListing(testDataPath("listings/older.txt"), SortCode::SDK));
    QSignalSpy resets(&appexer.model, &QAbstractItemModel::modelReset);
    QVERIFY(!appexer.getAppexes(SortCode::SDK));
    QVERIFY2(appexer.failureText().startsWith(failure), qPrintable(appexer.failureText()));
    // A failed refresh leaves the last good listing as it was.
    QCOMPARE(appexer.model.listing(), readTestData("listings/older.txt"));
    QCOMPARE(appexer.model.appexList().size(), 9);
    QCOMPARE(appexer.model.listingFile(), testDataPath("listings/older.txt"));
    QCOMPARE(resets.size(), 0);
}

void TestAppexer::standardErrorIsDetailNotListing()
{
    // Each stream holds a whole block: merged, they would make two records.
    const QByteArray script = "printf 'UUID = from-stderr\\n\\nwarning: slow\\n' >&2\n"
                              "printf '\\n\\nUUID = from-stdout\\n'\nexit ";
    TestCatalogue good(m_tools.write("noisy", script + '0'));
    QVERIFY(good.getAppexes(SortCode::SDK));
    QCOMPARE(column(good.model, Appexer::RecordRole).size(), 1);
    QCOMPARE(good.model.appexList().first().uuid(), QStringLiteral("from-stdout"));

    TestCatalogue bad(m_tools.write("failing", script + '3'));
    QVERIFY(!bad.getAppexes(SortCode::SDK));
    QCOMPARE(bad.failureText(), QStringLiteral("Error 3 when running pluginkit."));
    QCOMPARE(bad.failureDetail(), QStringLiteral("UUID = from-stderr\n\nwarning: slow"));
}

void TestAppexer::capturedListings()
{
    TestCatalogue appexer(m_tools.printing(m_newer));
    const QString older = testDataPath("listings/older.txt");
    QVERIFY(appexer.loadListing(older, SortCode::UUID));
    QCOMPARE(appexer.model.listingFile(), older);
    QCOMPARE(appexer.model.appexList().first().uuid(), QStringLiteral("U1"));

    // A listing that cannot be read leaves the records as they were.
    QVERIFY(!appexer.loadListing(m_tools.path("absent.txt"), SortCode::UUID));
    QVERIFY(appexer.failureText().startsWith("The listing \u201C" + m_tools.path("absent.txt") +
                                             "\u201D could not be read: "));
    QCOMPARE(appexer.model.appexList().size(), 9);
    QCOMPARE(appexer.model.listingFile(), older);

    // A character split by the end of a piece read is still one character.
    QByteArray large(1024 * 1024 - 16, '\n');
    large += "Display Name = \xc3\xa9\nUUID = split\n"; // the \xc3 ends the first MiB
    QFile file(m_tools.path("large.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(large) == large.size());
    file.close();
    QVERIFY(appexer.loadListing(file.fileName(), SortCode::UUID));
    QCOMPARE(appexer.model.appexList().first().name(), QStringLiteral("\u00e9"));
    QCOMPARE(appexer.model.listing(), large);

    // A byte order mark opening a listing is no text; a block without a UUID
    // is no record, however many the limit lets in.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\xEF\xBB\xBF+    com.x(1)\nUUID = a\n\n+    com.y(1)\n");
    file.close();
    ListingLimits oneRecord;
    oneRecord.maxRecords = 1;
    TestCatalogue one(QString(), oneRecord);
    QVERIFY(one.loadListing(file.fileName(), SortCode::UUID));
    QCOMPARE(one.model.appexList().first().identifier(), QStringLiteral("com.x"));
}

void TestAppexer::elections()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_tools.path("elections").toUtf8());
    TestCatalogue appexer(QStringLiteral(ZEPHLIST_STAND_IN));
    const QString identifier = QStringLiteral("com.apple.ui.TrackpadSettings");
    const auto electionOf = [&] {
        for (const Appex &record : appexer.model.appexList()) {
            if (record.identifier() == identifier)
                return record.election();
        }
        return AppexElection::None;
    };
    QVERIFY(appexer.elect({identifier, Election::Choice::Ignore}));
    QCOMPARE(electionOf(), AppexElection::Ignore);
    QVERIFY(appexer.elect({identifier, Election::Choice::Default}));
    QCOMPARE(electionOf(), AppexElection::Use);

    const qsizetype count = appexer.model.appexList().size();
    QVERIFY(!appexer.elect({"com.example.Unknown", Election::Choice::Use}));
    QCOMPARE(
        appexer.failureText(),
        QStringLiteral("Could not enable \u201Ccom.example.Unknown\u201D: Error 1 when running "
                       "pluginkit."));
    QVERIFY(appexer.failureDetail().contains("com.example.Unknown"));
    QCOMPARE(appexer.model.appexList().size(), count); // a failed election changes no record
}

void TestAppexer::sortKeepsViewsOnTheirRecords()
{
    TestCatalogue appexer(m_tools.printing(m_newer));
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    QAbstractItemModelTester tester(&appexer.model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy layouts(&appexer.model, &QAbstractItemModel::layoutChanged);
    QSignalSpy resets(&appexer.model, &QAbstractItemModel::modelReset);
    const QPersistentModelIndex moved = appexer.model.index(0); // N1, "New"
    appexer.model.sortAppexList(SortCode::Name);
    QCOMPARE(layouts.size(), 1);
    QCOMPARE(resets.size(), 0);
    QCOMPARE(moved.data().toString(), QStringLiteral("New"));
    QCOMPARE(moved.row(), 2);
}

void TestAppexer::comparison()
{
    TestCatalogue appexer(m_tools.printing(m_newer));
    QAbstractItemModelTester tester(&appexer.model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    appexer.controller.compareWithListing(testDataPath("listings/older.txt"));
    QVERIFY(appexer.finished());
    QVERIFY(appexer.model.isComparing());
    QCOMPARE(appexer.model.rowCount(), 12); // ten records, then the two removed: U after N
    QCOMPARE(appexer.model.changeCount(AppexChange::Added), 3);
    QCOMPARE(appexer.model.changeCount(AppexChange::Changed), 4);
    QCOMPARE(appexer.model.changeCount(AppexChange::Removed), 2);
    QCOMPARE(appexer.model.index(0).data(Appexer::ChangeRole).toInt(), int(AppexChange::Added));
    QCOMPARE(appexer.model.index(11).data().toString(), QStringLiteral("Moved"));
    const int version = int(column(appexer.model, Qt::DisplayRole).indexOf("Version"));
    QVERIFY(
        appexer.model.index(version).data(Qt::ToolTipRole).toString().contains(u"1.0 \u2192 1.1"));

    const QPersistentModelIndex gone = appexer.model.index(10);
    appexer.model.sortAppexList(SortCode::Name); // removed records sort among the others
    QCOMPARE(column(appexer.model, Qt::DisplayRole).mid(0, 4),
             (QStringList{"Elected", "Gone", "Moved", "Moved"}));
    QCOMPARE(gone.row(), 1);
    QCOMPARE(appexer.model.changeAt(3), AppexChange::Removed);
    QCOMPARE(appexer.model.recordKey(1), 10); // past the ten records, whatever the order
    // An order by ranks of the caller's, here of the elections' bytes, either
    // way, over records and removed ones alike: ties keep the order they had.
    const auto elections = std::make_shared<const SortRanks::Ranks>(
        SortRanks::ranks(appexer.model.byRecordKey(), AppexField::Election,
                         [](std::string &key, QByteArrayView value) {
                             key.append(value.data(), size_t(value.size()));
                         }));
    for (const Qt::SortOrder order : {Qt::DescendingOrder, Qt::AscendingOrder}) {
        QList<std::pair<QByteArray, QString>> rows;
        for (int row = 0; row < appexer.model.rowCount(); ++row) {
            const Appex &record = appexer.model.recordAt(row);
            rows.append({record.bytes(AppexField::Election).toByteArray(), record.name()});
        }
        std::stable_sort(rows.begin(), rows.end(), [order](const auto &a, const auto &b) {
            return order == Qt::AscendingOrder ? a.first < b.first : b.first < a.first;
        });
        QStringList expected;
        for (const auto &[election, name] : rows)
            expected << name;
        appexer.model.setRankOrder(Appexer::RankOrder{elections, order});
        QCOMPARE(column(appexer.model, Qt::DisplayRole), expected);
    }
    // A new listing's records are others: the sort code orders them.
    QVERIFY(appexer.getAppexes(SortCode::Name)); // and the marks follow a refresh
    QCOMPARE(column(appexer.model, Qt::DisplayRole).mid(0, 4),
             (QStringList{"Elected", "Gone", "Moved", "Moved"}));
    QCOMPARE(appexer.model.changeCount(AppexChange::Changed), 4);

    appexer.model.clearComparison();
    QCOMPARE(appexer.model.rowCount(), 10);
    QCOMPARE(appexer.model.changeAt(0), AppexChange::Unchanged);

    // Records of one key pair up in listing order, whatever the sorts did.
    QFile twice(m_tools.path("twice.txt"));
    QVERIFY(twice.open(QIODevice::WriteOnly));
    twice.write("+ com.x(1)\nPath = /x\nUUID = 2\n\n+ com.x(2)\nPath = /x\nUUID = 1\n");
    twice.close();
    QVERIFY(appexer.loadListing(twice.fileName(), SortCode::SDK));
    appexer.model.sortAppexList(SortCode::UUID);
    appexer.model.sortAppexList(SortCode::SDK); // ties now in UUID order, not the listing's
    appexer.controller.compareWithListing(twice.fileName());
    QVERIFY(appexer.finished());
    QCOMPARE(appexer.model.changeCount(AppexChange::Changed), 0);
}

void TestAppexer::filterFollowsTheCatalogue()
{
    const QString tool = m_tools.printing(m_newer);
    TestCatalogue appexer(tool);
    AppexFilter filter(&appexer.model);
    QAbstractItemModelTester tester(&filter,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    QCOMPARE(filter.rowCount(), 10); // no query: everything

    filter.setQuery(QStringLiteral("n1")); // UUIDs N1 and N10
    QCOMPARE(column(filter, Qt::DisplayRole), QStringList({"New", "Only the UUID changes"}));
    filter.setQuery(QStringLiteral("new")); // in no UUID; in two paths
    QCOMPARE(filter.rowCount(), 0);
    filter.setScope(AppexSearch::Scope::AllFields);
    QCOMPARE(column(filter, Qt::DisplayRole), QStringList({"New", "Moved"}));

    appexer.model.sortAppexList(SortCode::Name); // a sort while searching
    QCOMPARE(column(filter, Qt::DisplayRole), QStringList({"Moved", "New"}));

    filter.setQuery(QStringLiteral("twice"));
    QCOMPARE(filter.rowCount(), 3);
    QFile::remove(tool); // the next listing holds other records
    QVERIFY(QFile::copy(m_tools.printing(readTestData("listings/older.txt")), tool));
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    QCOMPARE(column(filter, Qt::DisplayRole), QStringList({"Twice first", "Twice second"}));

    appexer.controller.compareWithListing(testDataPath("listings/newer.txt"));
    QVERIFY(appexer.finished());
    QCOMPARE(column(filter, Qt::DisplayRole), // a removed record found, in its place
             QStringList({"Twice third", "Twice first", "Twice second"}));
    filter.setQuery(QString());
    filter.setChangesOnly(true);
    QCOMPARE(filter.rowCount(), 9);
}

// Sorts, categories and the search's index made on the pool for one listing
// while the next replaces it are not used for the next one's records.
void TestAppexer::preparedOnlyForTheRecordsShown()
{
    const auto listing = [](int seed) {
        QByteArray text;
        for (int i = 0; i < 200; ++i) {
            const QByteArray value = QByteArray::number((i * 7919 + seed * 104729) % 1009);
            text += "+    com.x" + QByteArray::number(i) + "(1)\n\tPath = /A/" + value +
                    ".appex\n\tUUID = U" + value + "\n\tSDK = com.x.point" +
                    QByteArray::number(i % (3 + seed)) + "\n\tDisplay Name = " + value + "\n\n";
        }
        return Listing{parseListing(text), text, {}};
    };
    Appexer appexer;
    AppexFilter filter(&appexer);
    for (const int seed : {1, 2, 3}) {
        appexer.setListing(listing(seed));
        appexer.prepareOrders();
        filter.prepareIndex(appexer);
    }
    spareTimePool()->waitForDone();
    QCoreApplication::processEvents(); // what was made for each listing comes back
    QVERIFY(filter.isIndexedFor(AppexSearch::Scope::Uuid));
    QVERIFY(!filter.isIndexedFor(AppexSearch::Scope::AllFields)); // not searched there yet

    const AppexList shown = listing(3).records;
    for (const SortCode code : {SortCode::UUID, SortCode::Parent, SortCode::Name, SortCode::SDK}) {
        appexer.sortAppexList(code);
        QStringList expected;
        for (const qsizetype row : SortOrder::order(shown, code))
            expected << shown[row].name();
        QCOMPARE(column(appexer, Qt::DisplayRole), expected);
    }
    QSet<std::pair<int, QByteArray>> points; // one number for each point, and no other's
    for (int row = 0; row < appexer.rowCount(); ++row)
        points.insert({appexer.index(row).data(Appexer::PointRole).toInt(),
                       appexer.recordAt(row).bytes(AppexField::Point).toByteArray()});
    QCOMPARE(points.size(), 6);
    filter.setQuery(QStringLiteral("u1"));
    QStringList found;
    for (const Appex &record : shown) {
        if (record.uuid().startsWith(u"U1"))
            found << record.name();
    }
    found.sort();
    QStringList matched = column(filter, Qt::DisplayRole);
    matched.sort();
    QCOMPARE(matched, found);

    filter.setScope(AppexSearch::Scope::AllFields);
    filter.prepareIndex(appexer);
    spareTimePool()->waitForDone();
    QCoreApplication::processEvents();
    QVERIFY(filter.isIndexedFor(AppexSearch::Scope::AllFields));
}

QTEST_GUILESS_MAIN(TestAppexer)
#include "tst_appexer.moc"
