#include "faketool.h"
#include "testcatalogue.h"

#include <QFile>
#include <QTest>

namespace {

const QString inUsePath = QStringLiteral("/Applications/Notes Plus.app/Contents/PlugIns/"
                                         "NotesPlusWidget.appex");
const QString debugBuildUuid = QStringLiteral("3B3584C4-8F2E-4C65-8FEA-C31BC3CCF18F");
const QString debugBuildPath = QStringLiteral(
    "/Users/dana/Library/Developer/Xcode/DerivedData/NotesPlus-bqxhzvkeyfsjtdgcnwmrlpaoiuy/Build/"
    "Products/Debug/Notes Plus.app/Contents/PlugIns/NotesPlusWidget.appex");

// The copy the system uses of the records' `identifier`.
const Appex *copyInUse(const AppexList &records, const QString &identifier)
{
    for (const Appex &record : records) {
        if (record.identifier() == identifier && record.active() == true)
            return &record;
    }
    return nullptr;
}

} // namespace

class TestCatalogueController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void electionsOfACopy_data();
    void electionsOfACopy();
    void electionsNotKept();
    void listingsWithoutRecords_data();
    void listingsWithoutRecords();

private:
    FakeTool m_tools;
    QTemporaryDir m_state;
};

void TestCatalogueController::init()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_state.filePath("state").toUtf8());
}

void TestCatalogueController::cleanup()
{
    QFile::remove(m_state.filePath("state"));
    qunsetenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS");
    qunsetenv("ZEPHLIST_STANDIN_FAULT");
}

void TestCatalogueController::electionsOfACopy_data()
{
    QTest::addColumn<QString>("uuid");
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("use a debug build") << debugBuildUuid << int(Election::Choice::Use) << true
                                       << "Now using the copy at " + debugBuildPath + ".";
    QTest::newRow("use, not kept") << debugBuildUuid << int(Election::Choice::Use) << false
                                   << "macOS kept using the copy at " + inUsePath + ".";
}

void TestCatalogueController::electionsOfACopy()
{
    QFETCH(QString, uuid);
    QFETCH(int, choice);
    QFETCH(bool, kept);
    QFETCH(QString, outcome);
    TestCatalogue catalogue(QStringLiteral(ZEPHLIST_STAND_IN));
    catalogue.controller.setCopies(ListingJob::Copies::All);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    const QString identifier = QStringLiteral("com.example.notesplus.NotesPlusWidget");
    QCOMPARE(copyInUse(catalogue.model.appexList(), identifier)->path(), inUsePath);

    if (!kept)
        qputenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS", "1");
    QCOMPARE(catalogue.elect({uuid, Election::Choice(choice), Election::Target::Copy}), kept);
    QCOMPARE(kept ? catalogue.outcome.message : catalogue.failureText(), outcome);
    const Appex *inUse = copyInUse(catalogue.model.appexList(), identifier);
    QCOMPARE(inUse->path(), kept ? debugBuildPath : inUsePath);
    // Its stale siblings carry the duplicate, not the copy in use.
    QVERIFY(!inUse->problems().testFlag(AppexProblem::Duplicate));

    // Ignoring the copy in use hands the identifier to another copy.
    qunsetenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS");
    const Appex ignored = *inUse; // the listing that follows replaces the records
    QVERIFY(catalogue.elect({ignored.uuid(), Election::Choice::Ignore, Election::Target::Copy}));
    const Appex *next = copyInUse(catalogue.model.appexList(), identifier);
    QVERIFY(next && next->path() != ignored.path());
    QCOMPARE(catalogue.outcome.message, "Now using the copy at " + next->path() + ".");
}

// An election the tool says it made, that the listing after it does not
// show, fails with what the tool said.
void TestCatalogueController::electionsNotKept()
{
    const QString tool = m_tools.path("forgetful");
    QFile script(tool);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\n[ \"$1\" = -e ] && { echo 'elected, for now'; exit 0; }\n"
        "printf '+    com.x(1)\\n    Path = /x\\n    UUID = 1\\n    Display Name = X\\n'\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    TestCatalogue catalogue(tool);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    QVERIFY(!catalogue.elect({QStringLiteral("com.x"), Election::Choice::Ignore}));
    QCOMPARE(catalogue.failureText(),
             QStringLiteral("macOS did not keep the change for \u201CX\u201D."));
    QCOMPARE(catalogue.failureDetail(), QStringLiteral("elected, for now"));
    QVERIFY(catalogue.elect({QStringLiteral("com.x"), Election::Choice::Use}));
    QCOMPARE(catalogue.outcome.message, QStringLiteral("Enabled \u201CX\u201D."));
}

void TestCatalogueController::listingsWithoutRecords_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("failure"); // empty: an answer, not a failure
    QTest::addColumn<QString>("detail");

    const QString standIn = QStringLiteral(ZEPHLIST_STAND_IN);
    QTest::newRow("outside the user's session")
        << standIn << QByteArray("connection-invalid") << QString()
        << "pluginkit could not reach the extension registry. It must run in the session of the "
           "user who is logged in."
        << "match: Connection invalid";
    QTest::newRow("nothing at all") << standIn << QByteArray("silent") << QString()
                                    << "pluginkit listed no extensions." << QString();
    QTest::newRow("words, no record") << m_tools.printing("registry busy\n") << QByteArray()
                                      << QString() << "pluginkit listed no extensions."
                                      << "registry busy";
    QTest::newRow("no matches is an answer") << m_tools.printing("(no matches)\n") << QByteArray()
                                             << QString() << QString() << QString();
    const QString entries = QStringLiteral(
        "\u201C%1\u201D holds no extension entries. Zephlist reads what `pluginkit -m`, `-m -v` "
        "and `-m -vv` print.");
    QTest::newRow("a file of other text")
        << QString() << QByteArray() << "notes.txt" << entries.arg("notes.txt") << QString();
    QTest::newRow("an empty file")
        << QString() << QByteArray() << "empty.txt" << entries.arg("empty.txt") << QString();
}

void TestCatalogueController::listingsWithoutRecords()
{
    QFETCH(QString, tool);
    QFETCH(QByteArray, fault);
    QFETCH(QString, file);
    QFETCH(QString, failure);
    QFETCH(QString, detail);
    qputenv("ZEPHLIST_STANDIN_FAULT", fault);
    QFile notes(m_state.filePath("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("Some notes\n\nno entries\n") > 0);
    notes.close();
    QFile(m_state.filePath("empty.txt")).open(QIODevice::WriteOnly);

    TestCatalogue catalogue(tool);
    const bool listed = file.isEmpty()
                            ? catalogue.getAppexes(SortCode::SDK)
                            : catalogue.loadListing(m_state.filePath(file), SortCode::SDK);
    QCOMPARE(listed, failure.isEmpty());
    QCOMPARE(catalogue.failureText(), failure);
    QCOMPARE(catalogue.failureDetail(), detail);
    QCOMPARE(catalogue.model.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestCatalogueController)
#include "tst_cataloguecontroller.moc"
