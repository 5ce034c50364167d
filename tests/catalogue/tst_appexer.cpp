#include "appexer.h"
#include "appexfilter.h"
#include "faketool.h"
#include "golden.h"

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

// Waits for a job of `appexer` to end; its success.
bool finished(Appexer &appexer)
{
    QSignalSpy done(&appexer, &Appexer::jobFinished);
    return done.wait(10000) && done.last().first().toBool();
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

private:
    FakeTool m_tools;
    const QByteArray m_newer = readTestData(QStringLiteral("listings/newer.txt"));
};

void TestAppexer::refreshIsOneResetOfTheModel()
{
    Appexer appexer(m_tools.printing(m_newer));
    QAbstractItemModelTester tester(&appexer,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&appexer, &QAbstractItemModel::modelReset);
    QSignalSpy busy(&appexer, &Appexer::busyChanged);
    const QDateTime created = appexer.theDate();

    appexer.refresh(SortCode::Name);
    QVERIFY(appexer.isBusy());
    appexer.refresh(SortCode::Name); // a second request while one runs does nothing
    QVERIFY(finished(appexer));
    QCOMPARE(resets.size(), 1);
    QCOMPARE(busy.size(), 2);
    QCOMPARE(column(appexer, Qt::DisplayRole).first(), QStringLiteral("Elected"));
    QCOMPARE(appexer.rowCount(), 10);
    QCOMPARE(appexer.listing(), m_newer); // exactly the bytes the tool printed
    QVERIFY(appexer.data(appexer.index(0), Qt::ToolTipRole).toString().contains("com.example"));

    const QUuid before = appexer.appexList().first().id();
    QVERIFY(appexer.getAppexes(SortCode::Name));
    QVERIFY(appexer.appexList().first().id() != before); // new records, new identities
    QCOMPARE(appexer.theDate(), created);
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
                                  << "pluginkit could not be started (" + m_tools.path("absent");
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

    Appexer appexer(tool, limits);
    QVERIFY(appexer.loadListing(testDataPath("listings/older.txt"), SortCode::SDK));
    QSignalSpy resets(&appexer, &QAbstractItemModel::modelReset);
    QVERIFY(!appexer.getAppexes(SortCode::SDK));
    QVERIFY2(appexer.failureText().startsWith(failure), qPrintable(appexer.failureText()));
    QVERIFY(appexer.appexList().isEmpty()); // a failed refresh leaves nothing
    QVERIFY(appexer.listing().isEmpty());
    QCOMPARE(resets.size(), 1);
}

void TestAppexer::standardErrorIsDetailNotListing()
{
    // Each stream holds a whole block: merged, they would make two records.
    const QByteArray script = "printf 'UUID = from-stderr\\n\\nwarning: slow\\n' >&2\n"
                              "printf '\\n\\nUUID = from-stdout\\n'\nexit ";
    Appexer good(m_tools.write("noisy", script + '0'));
    QVERIFY(good.getAppexes(SortCode::SDK));
    QCOMPARE(column(good, Appexer::RecordRole).size(), 1);
    QCOMPARE(good.appexList().first().uuid, QStringLiteral("from-stdout"));

    Appexer bad(m_tools.write("failing", script + '3'));
    QVERIFY(!bad.getAppexes(SortCode::SDK));
    QCOMPARE(bad.failureText(), QStringLiteral("Error 3 when running pluginkit."));
    QCOMPARE(bad.failureDetail(), QStringLiteral("UUID = from-stderr\n\nwarning: slow"));
}

void TestAppexer::capturedListings()
{
    Appexer appexer(m_tools.printing(m_newer));
    const QString older = testDataPath("listings/older.txt");
    QVERIFY(appexer.loadListing(older, SortCode::UUID));
    QCOMPARE(appexer.listingFile(), older);
    QCOMPARE(appexer.appexList().first().uuid, QStringLiteral("U1"));

    // A listing that cannot be read leaves the records as they were.
    QVERIFY(!appexer.loadListing(m_tools.path("absent.txt"), SortCode::UUID));
    QVERIFY(appexer.failureText().startsWith("The listing \u201C" + m_tools.path("absent.txt") +
                                             "\u201D could not be read: "));
    QCOMPARE(appexer.appexList().size(), 9);
    QCOMPARE(appexer.listingFile(), older);

    // A character split by the end of a piece read is still one character.
    QByteArray large(1024 * 1024 - 16, '\n');
    large += "Display Name = \xc3\xa9\nUUID = split\n"; // the \xc3 ends the first MiB
    QFile file(m_tools.path("large.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(large) == large.size());
    file.close();
    QVERIFY(appexer.loadListing(file.fileName(), SortCode::UUID));
    QCOMPARE(appexer.appexList().first().name, QStringLiteral("\u00e9"));
    QCOMPARE(appexer.listing(), large);

    // A byte order mark opening a listing is no text; a block without a UUID
    // is no record, however many the limit lets in.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\xEF\xBB\xBF+    com.x(1)\nUUID = a\n\n+    com.y(1)\n");
    file.close();
    ListingLimits oneRecord;
    oneRecord.maxRecords = 1;
    Appexer one(QString(), oneRecord);
    QVERIFY(one.loadListing(file.fileName(), SortCode::UUID));
    QCOMPARE(one.appexList().first().identifier, QStringLiteral("com.x"));
}

void TestAppexer::elections()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_tools.path("elections").toUtf8());
    Appexer appexer(QStringLiteral(ZEPHLIST_STAND_IN));
    const QString identifier = QStringLiteral("com.apple.ui.TrackpadSettings");
    const auto electionOf = [&] {
        for (const Appex &record : appexer.appexList()) {
            if (record.identifier == identifier)
                return record.election;
        }
        return QStringLiteral("missing");
    };
    QVERIFY(appexer.elect(identifier, Appexer::ElectionChoice::Ignore, SortCode::SDK));
    QCOMPARE(electionOf(), Election::ignore);
    QVERIFY(appexer.elect(identifier, Appexer::ElectionChoice::Default, SortCode::SDK));
    QCOMPARE(electionOf(), Election::use);

    const qsizetype count = appexer.appexList().size();
    QVERIFY(!appexer.elect("com.example.Unknown", Appexer::ElectionChoice::Use, SortCode::SDK));
    QCOMPARE(appexer.failureText(), QStringLiteral("Error 1 when running pluginkit."));
    QVERIFY(appexer.failureDetail().contains("com.example.Unknown"));
    QCOMPARE(appexer.appexList().size(), count); // a failed election changes no record
}

void TestAppexer::sortKeepsViewsOnTheirRecords()
{
    Appexer appexer(m_tools.printing(m_newer));
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    QAbstractItemModelTester tester(&appexer,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy layouts(&appexer, &QAbstractItemModel::layoutChanged);
    QSignalSpy resets(&appexer, &QAbstractItemModel::modelReset);
    const QPersistentModelIndex moved = appexer.index(0); // N1, "New"
    appexer.sortAppexList(SortCode::Name);
    QCOMPARE(layouts.size(), 1);
    QCOMPARE(resets.size(), 0);
    QCOMPARE(moved.data().toString(), QStringLiteral("New"));
    QCOMPARE(moved.row(), 2);
}

void TestAppexer::comparison()
{
    Appexer appexer(m_tools.printing(m_newer));
    QAbstractItemModelTester tester(&appexer,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    appexer.compareWithListing(testDataPath("listings/older.txt"));
    QVERIFY(finished(appexer));
    QVERIFY(appexer.isComparing());
    QCOMPARE(appexer.rowCount(), 12); // ten records, then the two removed
    QCOMPARE(appexer.changeCount(AppexChange::Added), 3);
    QCOMPARE(appexer.changeCount(AppexChange::Changed), 4);
    QCOMPARE(appexer.changeCount(AppexChange::Removed), 2);
    QCOMPARE(appexer.index(0).data(Appexer::ChangeRole).toInt(), int(AppexChange::Added));
    QCOMPARE(appexer.index(11).data().toString(), QStringLiteral("Moved"));

    appexer.sortAppexList(SortCode::Name); // removed records stay after the catalogue's
    QCOMPARE(appexer.index(10).data().toString(), QStringLiteral("Gone"));
    QVERIFY(appexer.getAppexes(SortCode::Name)); // and the marks follow a refresh
    QCOMPARE(appexer.changeCount(AppexChange::Changed), 4);

    appexer.clearComparison();
    QCOMPARE(appexer.rowCount(), 10);
    QCOMPARE(appexer.changeAt(0), AppexChange::Unchanged);

    // Records of one key pair up in listing order, whatever the sorts did.
    QFile twice(m_tools.path("twice.txt"));
    QVERIFY(twice.open(QIODevice::WriteOnly));
    twice.write("+ com.x(1)\nPath = /x\nUUID = 2\n\n+ com.x(2)\nPath = /x\nUUID = 1\n");
    twice.close();
    QVERIFY(appexer.loadListing(twice.fileName(), SortCode::SDK));
    appexer.sortAppexList(SortCode::UUID);
    appexer.sortAppexList(SortCode::SDK); // ties now in UUID order, not the listing's
    appexer.compareWithListing(twice.fileName());
    QVERIFY(finished(appexer));
    QCOMPARE(appexer.changeCount(AppexChange::Changed), 0);
}

void TestAppexer::filterFollowsTheCatalogue()
{
    const QString tool = m_tools.printing(m_newer);
    Appexer appexer(tool);
    AppexFilter filter(&appexer);
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

    filter.setQuery(QStringLiteral("twice"));
    QCOMPARE(filter.rowCount(), 3);
    QFile::remove(tool); // the next listing holds other records
    QVERIFY(QFile::copy(m_tools.printing(readTestData("listings/older.txt")), tool));
    QVERIFY(appexer.getAppexes(SortCode::UUID));
    QCOMPARE(column(filter, Qt::DisplayRole), QStringList({"Twice first", "Twice second"}));

    appexer.compareWithListing(testDataPath("listings/newer.txt"));
    QVERIFY(finished(appexer));
    filter.setQuery(QString());
    filter.setChangesOnly(true);
    QCOMPARE(filter.rowCount(), 9);
}

QTEST_GUILESS_MAIN(TestAppexer)
#include "tst_appexer.moc"
