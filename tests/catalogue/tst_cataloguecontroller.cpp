#include "faketool.h"
#include "testcatalogue.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    void registrationsChecked_data();
    void registrationsChecked();
    void registrationOfACopyNotInUse();
    void cleanUp();
    void cleanUpCancelled();
    void cleanUpUnchecked();
    void historyKeptOffTheThread();
    void historyOfTheListingShown();
    void cleanupPlanNeedsAPath();
    void listingsWithoutRecords_data();
    void listingsWithoutRecords();

private:
    // A tool that runs the shell commands `body`, whatever it is asked.
    [[nodiscard]] QString script(const QByteArray &body);
    // A tool whose copies, but one of each of two identifiers, are stale;
    // -r removes what it is told, but refuses one path and keeps another.
    [[nodiscard]] QString staleCopiesTool();

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
    QFile::remove(m_state.filePath("removed"));
    qunsetenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS");
    qunsetenv("ZEPHLIST_STANDIN_FAULT");
}

QString TestCatalogueController::script(const QByteArray &body)
{
    const QString tool = m_state.filePath(QStringLiteral("tool"));
    QFile file(tool);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) <= 0)
        qFatal("cannot write %s", qPrintable(tool));
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return tool;
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
    TestCatalogue catalogue(script(
        "[ \"$1\" = -e ] && { echo 'elected, for now'; exit 0; }\n"
        "printf '+    com.x(1)\\n    Path = /x\\n    UUID = 1\\n    Display Name = X\\n'\n"));
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    QVERIFY(!catalogue.elect({QStringLiteral("com.x"), Election::Choice::Ignore}));
    QCOMPARE(catalogue.failureText(),
             QStringLiteral("macOS did not keep the change for \u201CX\u201D."));
    QCOMPARE(catalogue.failureDetail(), QStringLiteral("elected, for now"));
    QVERIFY(catalogue.elect({QStringLiteral("com.x"), Election::Choice::Use}));
    QCOMPARE(catalogue.outcome.message, QStringLiteral("Enabled \u201CX\u201D."));
}

// The tool says yes to every change and lists one copy, at /kept, whatever it
// was told: the listing after a change decides whether it was made.
void TestCatalogueController::registrationsChecked_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");

    const int add = int(Registration::Action::Register);
    const int remove = int(Registration::Action::Unregister);
    QTest::newRow("removed, still listed") << remove << "/kept"
                                           << "macOS still lists /kept."
                                           << "";
    QTest::newRow("removed") << remove << "/gone"
                             << ""
                             << "Removed the registration of /gone.";
    QTest::newRow("added, not listed") << add << "/new"
                                       << "macOS does not list /new."
                                       << "";
    QTest::newRow("added") << add << "/kept"
                           << ""
                           << "Registered /kept.";
}

void TestCatalogueController::registrationsChecked()
{
    QFETCH(int, action);
    QFETCH(QString, path);
    QFETCH(QString, failure);
    QFETCH(QString, message);
    TestCatalogue catalogue(
        script("[ \"$1\" = -a ] || [ \"$1\" = -r ] && exit 0\n"
               "printf '+    com.x(1)\\n    Path = /kept\\n    UUID = 1\\n'\n"));
    QCOMPARE(catalogue.changeRegistration({Registration::Action(action), path}), failure.isEmpty());
    QCOMPARE(catalogue.failureText(), failure);
    QCOMPARE(catalogue.outcome.message, message);
    QCOMPARE(catalogue.model.rowCount(), 1); // the listing that checked it
}

// A further copy of an identifier is not the one in use: only the listing of
// every copy shows it.
void TestCatalogueController::registrationOfACopyNotInUse()
{
    const QString bundle = m_state.filePath("Notes Plus 'Beta'.appex");
    QVERIFY(QDir().mkpath(bundle + "/Contents"));
    QFile descriptor(bundle + "/Contents/zephlist-standin.txt");
    QVERIFY(descriptor.open(QIODevice::WriteOnly) &&
            descriptor.write("identifier=com.example.notesplus.NotesPlusWidget\n") > 0);
    descriptor.close();
    TestCatalogue catalogue(QStringLiteral(ZEPHLIST_STAND_IN));
    QVERIFY(catalogue.changeRegistration({Registration::Action::Register, bundle}));
    QCOMPARE(catalogue.outcome.message, "Registered " + bundle + ".");
    const AppexList records = catalogue.model.appexList();
    QVERIFY(std::any_of(records.begin(), records.end(), [&](const Appex &record) {
        return record.path() == bundle && record.active() == false;
    }));
    QVERIFY(catalogue.changeRegistration({Registration::Action::Unregister, bundle}));
    QCOMPARE(catalogue.outcome.message, "Removed the registration of " + bundle + ".");
    QVERIFY(QFileInfo(bundle).isDir()); // only the registration goes
}

QString TestCatalogueController::staleCopiesTool()
{
    const QByteArray removed = m_state.filePath("removed").toUtf8();
    return script(
        "block() { grep -qxF \"$2\" '" + removed +
        "' 2>/dev/null || printf '+    %s(1)\\n    Path = %s\\n    UUID = %s\\n\\n' "
        "\"$1\" \"$2\" \"$3\"; }\n"
        "[ -e '" +
        m_state.filePath("unlisted").toUtf8() +
        "' ] && [ \"$1\" != -r ] && { echo 'registry gone' >&2; exit 1; }\n"
        "case \"$1\" in -r)\n"
        "  [ \"$2\" = /u/DerivedData/B.appex ] && { echo \"remove: no plugin at $2\" >&2; "
        "exit 1; }\n"
        "  [ \"$2\" = /Volumes/C/C.appex ] || echo \"$2\" >> '" +
        removed +
        "'; exit 0;; esac\n"
        "block com.x /Applications/X.appex 1\n"
        "block com.y /u/build/Y.appex 4\n"
        "[ \"$2\" = -A ] || exit 0\n"
        "block com.x /u/.Trash/X.appex 2\n"
        "block com.x /u/DerivedData/B.appex 3\n"
        "block com.y /u/build/Y.appex 5\n" // beside the copy in use: it stays
        "block com.x /Volumes/C/C.appex 6\n");
}

// Each removal is checked by the one listing after them all; those that
// failed are named with why.
void TestCatalogueController::cleanUp()
{
    TestCatalogue catalogue(staleCopiesTool());
    catalogue.controller.setCopies(ListingJob::Copies::All);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    const CleanupPlan plan = CleanupPlan::of(catalogue.model.appexList());
    QCOMPARE(plan.commands(true), "pluginkit -r /u/.Trash/X.appex  # in the Trash\n"
                                  "pluginkit -r /u/DerivedData/B.appex  # a development build\n"
                                  "pluginkit -r /Volumes/C/C.appex  # on a disk image\n");
    QSignalSpy progress(&catalogue.controller, &CatalogueController::progress);
    catalogue.controller.cleanUp(plan);
    QVERIFY(!catalogue.finished());
    QCOMPARE(catalogue.failureText(),
             "Removed 1 registration. 2 failed: /u/DerivedData/B.appex: not registered; it may "
             "have been removed already; /Volumes/C/C.appex: macOS still lists it");
    QCOMPARE(progress.size(), 4);
    QCOMPARE(progress.last(), QVariantList({qsizetype(3), qsizetype(3)}));
    QCOMPARE(catalogue.model.rowCount(), 5); // the listing after them

    catalogue.controller.cleanUp(CleanupPlan::of(catalogue.model.appexList()));
    QVERIFY(!catalogue.finished()); // the two that failed, again
    catalogue.controller.cleanUp({});
    QVERIFY(catalogue.finished());
    QCOMPARE(catalogue.outcome.message, "No stale copies to remove.");
}

// Stopped while a removal runs, the rest are not run.
void TestCatalogueController::cleanUpCancelled()
{
    TestCatalogue catalogue(staleCopiesTool());
    catalogue.controller.setCopies(ListingJob::Copies::All);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    connect(&catalogue.controller, &CatalogueController::progress, this, [&](qsizetype done) {
        if (done == 1)
            QTimer::singleShot(0, &catalogue.controller, &CatalogueController::cancel);
    });
    catalogue.controller.cleanUp(CleanupPlan::of(catalogue.model.appexList()));
    QVERIFY(!catalogue.finished());
    QVERIFY(catalogue.outcome.failure->cancelled);
    QCOMPARE(catalogue.failureText(),
             "Stopped after 1 of 3 removals; list again to see what they changed.");
    QCOMPARE(catalogue.model.rowCount(), 6); // not listed since
}

// The listing after the removals fails: how many were done is still told.
void TestCatalogueController::cleanUpUnchecked()
{
    TestCatalogue catalogue(staleCopiesTool());
    catalogue.controller.setCopies(ListingJob::Copies::All);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    QFile unlisted(m_state.filePath("unlisted"));
    QVERIFY(unlisted.open(QIODevice::WriteOnly));
    catalogue.controller.cleanUp(CleanupPlan::of(catalogue.model.appexList()));
    QVERIFY(!catalogue.finished());
    QVERIFY2(catalogue.failureText().startsWith(
                 "2 of 3 removals were done, but the listing that checks them failed: "),
             qPrintable(catalogue.failureText()));
    QCOMPARE(catalogue.failureDetail(), "registry gone");
    QVERIFY(unlisted.remove());
}

// Keeping waits on the history's files, here on a FIFO that no one writes
// until the catalogue's own thread runs while the listing is being kept.
void TestCatalogueController::historyKeptOffTheThread()
{
    const QString folder = m_state.filePath("off-the-thread");
    QVERIFY(QDir().mkpath(folder));
    const QByteArray fifo = (folder + "/20261208T150000.000Z-1-000000.listing").toUtf8();
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    TestCatalogue catalogue(QStringLiteral(ZEPHLIST_STAND_IN));
    catalogue.controller.setHistory(ListingHistory(folder));
    std::atomic<bool> ranWhileKept = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (catalogue.controller.state() == CatalogueController::State::KeepingHistory &&
            catalogue.model.rowCount() > 0)
            ranWhileKept = true;
    });
    watch.start(1);
    // Ends the wait once the catalogue's thread ran, or, blocked, after a while.
    std::thread writer([&] {
        for (int tries = 0; tries < 1000; ++tries) {
            if (ranWhileKept || tries > 500) {
                const int end = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
                if (end >= 0) {
                    ::close(end);
                    return;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const bool listed = catalogue.getAppexes(SortCode::SDK);
    writer.join();
    QVERIFY(listed);
    QVERIFY(ranWhileKept);
    QVERIFY(QFile::remove(fifo)); // else it is read again, and waited on
    QCOMPARE(ListingHistory(folder).entries().entries.size(), 1);
    QCOMPARE(catalogue.controller.keptFileShown(), ListingHistory(folder).entryBefore({})->file);
}

// The kept file of the listing shown, whichever kept one since; the
// listing kept before it is the one it is compared with.
void TestCatalogueController::historyOfTheListingShown()
{
    const ListingHistory history(m_state.filePath("shown"));
    const QDateTime earlier = QDateTime::currentDateTimeUtc().addDays(-1);
    const ListingHistory::Kept older =
        history.keep("+    com.example.Older(1)\n\tUUID = 1\n\n", 1, earlier);
    TestCatalogue catalogue(QStringLiteral(ZEPHLIST_STAND_IN));
    catalogue.controller.setHistory(history);
    catalogue.controller.setTellsChangesSince(true);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    const QString shown = catalogue.controller.keptFileShown();
    QCOMPARE(history.entries().entries.size(), 2);
    QCOMPARE(shown, history.entries().entries.last().file);
    QVERIFY2(catalogue.outcome.message.endsWith(
                 QStringLiteral("%1 added, 1 removed").arg(catalogue.model.rowCount())),
             qPrintable(catalogue.outcome.message));

    // Another window keeps a listing: the one shown is still the one before it.
    QVERIFY(
        !history
             .keep("+    com.example.Newer(1)\n\tUUID = 2\n\n", 1, QDateTime::currentDateTimeUtc())
             .warning);
    QCOMPARE(catalogue.controller.keptFileShown(), shown);
    QCOMPARE(history.entryBefore(shown)->file, older.entry->file);
    // The same listing again is kept anew, after the newer one; what was the
    // same as the newest shows the newest.
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    QVERIFY(catalogue.controller.keptFileShown() != shown);
    QCOMPARE(catalogue.controller.keptFileShown(), history.entries().entries.last().file);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    QVERIFY2(catalogue.outcome.message.endsWith(": no changes"),
             qPrintable(catalogue.outcome.message));
    QCOMPARE(catalogue.controller.keptFileShown(), history.entries().entries.last().file);

    // Kept files opened are known by the user's name for them; other listings
    // are none that is kept.
    QString busyText;
    connect(&catalogue.controller, &CatalogueController::stateChanged, this,
            [&] { busyText = busyText.isEmpty() ? catalogue.controller.busyText() : busyText; });
    QVERIFY(catalogue.loadListing(older.entry->file, SortCode::SDK));
    QCOMPARE(busyText, "Reading \u201C" + ListingHistory::shownName(older.entry->file) + "\u201D");
    QCOMPARE(catalogue.controller.keptFileShown(), older.entry->file);
    catalogue.controller.setHistory(std::nullopt);
    QVERIFY(catalogue.getAppexes(SortCode::SDK));
    QCOMPARE(catalogue.controller.keptFileShown(), QString());
}

// A line of `pluginkit -m` names no path: nothing to remove by.
void TestCatalogueController::cleanupPlanNeedsAPath()
{
    Appex missing;
    missing.setActive(false);
    missing.setProblems(AppexProblem::Missing);
    QVERIFY(CleanupPlan::of({missing}).isEmpty());
    missing.setText(AppexField::Path, u"/Applications/Gone.appex");
    QCOMPARE(CleanupPlan::of({missing}).commands(true),
             "pluginkit -r /Applications/Gone.appex  # missing from disk\n");
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
