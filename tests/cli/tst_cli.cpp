#include "faketool.h"
#include "golden.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runs_data();
    void runs();
    void missingBundles();
    void elections();
    void registrations();
    void cleanStale();
    void historyListed();
    void historyKeptAndCompared();
    void terminationStopsTheToolsGroup_data();
    void terminationStopsTheToolsGroup();
    void closedPipeStopsTheToolFirst();
    void toolEndsWithAKilledCli();
    void interruptIgnoredAtStartStaysIgnored();
    void outputReplacedOnlyWhenWhole();
    void outputOntoAFifo();
    void outputOntoTheFileStandardOutputAppendsTo();
    void runsTheStandInTool();

private:
    // Exit code, standard output and standard error of one run.
    std::tuple<int, QByteArray, QString>
    run(const QStringList &arguments, const QByteArray &input = {}, const QString &folder = {});

    FakeTool m_tools;
    QString m_history = m_tools.path("history"); // where the runs keep their listings
    const QString m_newer = testDataPath(QStringLiteral("listings/newer.txt"));
    const QString m_older = testDataPath(QStringLiteral("listings/older.txt"));
};

// Run in a CLI that a test ends by SIGQUIT, whose core would land in the
// working folder.
void dumpsNoCore()
{
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

std::tuple<int, QByteArray, QString> TestCli::run(const QStringList &arguments,
                                                  const QByteArray &input, const QString &folder)
{
    QProcess cli;
    cli.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZEPHLIST_STANDIN_STATE", m_tools.path("elections"));
    environment.insert("ZEPHLIST_HISTORY_DIR", m_history);
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(ZEPHLIST_CLI), arguments);
    cli.write(input);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(60000) || cli.exitStatus() != QProcess::NormalExit)
        qFatal("zephlist-cli did not finish");
    return {cli.exitCode(), cli.readAllStandardOutput(),
            QString::fromUtf8(cli.readAllStandardError())};
}

// The CLIs that tests start themselves keep their listings in the test's folder too.
void TestCli::initTestCase()
{
    qputenv("ZEPHLIST_HISTORY_DIR", m_history.toUtf8());
}

void TestCli::runs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("golden"); // the whole output; else in it, or in errors
    QTest::addColumn<QString>("contains");

    const QStringList newer{"--listing", m_newer};
    QTest::newRow("by name") << newer + QStringList{"--sort", "3"} << QByteArray() << 0
                             << "cli/newer-by-name.tsv"
                             << "";
    QTest::newRow("standard input, code 9 as SDK then name")
        << QStringList{"--listing", "-", "--sort", "9"} << readTestData("listings/newer.txt") << 0
        << ""
        << "Elected\t/A/Elected.appex";
    QTest::newRow("compared, by UUID") << newer + QStringList{"--compare", m_older, "--sort", "2"}
                                       << QByteArray() << 0 << "cli/changes-by-uuid.tsv"
                                       << "";
    const QStringList standIn{"--pluginkit", ZEPHLIST_STAND_IN};
    QTest::newRow("every copy, those with problems, as JSON")
        << standIn + QStringList{"--all-copies", "--problems", "--format", "json"} << QByteArray()
        << 0 << "cli/all-copies-problems.json"
        << "";
    const QStringList notesPlus{"--explain", "com.example.notesplus.NotesPlusWidget"};
    QTest::newRow("explained, every copy")
        << standIn + notesPlus << QByteArray() << 0 << "cli/explain.txt"
        << "";
    QTest::newRow("explained, as JSON") << standIn + notesPlus + QStringList{"--format", "json"}
                                        << QByteArray() << 0 << "cli/explain.json"
                                        << "";
    QTest::newRow("explained, a mistyped identifier")
        << standIn + QStringList{"--explain", "com.example.notesplus.NotesPlusWidgt"}
        << QByteArray() << 1 << ""
        << "No extension \u201Ccom.example.notesplus.NotesPlusWidgt\u201D is registered.\n"
           "Closest: com.example.notesplus.NotesPlusWidget,";
    QTest::newRow("one extension point, by its category")
        << standIn + QStringList{"--point", "finder"} << QByteArray() << 0 << "cli/finder.tsv"
        << "";
    QTest::newRow("a captured listing with CR LF line ends")
        << QStringList{"--listing", testDataPath("listings/crlf.txt")} << QByteArray() << 0
        << "cli/crlf.tsv"
        << "";
    // Values hold what a TSV line or a terminal would act on.
    const QStringList controls{"--listing", testDataPath("listings/controls.txt")};
    QTest::newRow("control characters escaped")
        << controls << QByteArray() << 0 << "cli/controls.tsv"
        << "";
    QTest::newRow("control characters escaped, compared")
        << controls + QStringList{"--compare", m_older, "--search", "C"} << QByteArray() << 0
        << "cli/controls-compared.tsv"
        << "";
    // Unlike UUIDs, names are not in the listings' order.
    QTest::newRow("compared, by name") << newer + QStringList{"--compare", m_older, "--sort", "3"}
                                       << QByteArray() << 0 << "cli/changes-by-name.tsv"
                                       << "";
    // Copies of an extension at one path, one gone: each pairs with itself.
    QTest::newRow("compared, copies by their UUIDs")
        << QStringList{"--listing", testDataPath("listings/copies-newer.txt"), "--compare",
                       testDataPath("listings/copies-older.txt")}
        << QByteArray() << 0 << "cli/copies-changes.tsv"
        << "";
    QTest::newRow("compared, searched in all fields, as JSON")
        << newer + QStringList{"--compare",   m_older, "--format", "json",
                               "--search-in", "all",   "--search", "TWICE"}
        << QByteArray() << 0 << "cli/twice-changes.json"
        << "";
    QTest::newRow("a query that starts with a dash")
        << QStringList{"--listing", testDataPath("listings/rules.txt"), "--search=-2"}
        << QByteArray() << 0 << ""
        << "crlf still one block\t";
    QTest::newRow("an RTF report")
        << QStringList{"--listing", m_older, "--format", "rtf", "--search", "U8"} << QByteArray()
        << 0 << ""
        << "\\cf0 No header \\cf2 /A/NoHeader.appex \\cf0 ";

    QTest::newRow("unknown option") << QStringList{"--bogus"} << QByteArray() << 2 << ""
                                    << "Unknown option";
    QTest::newRow("sort not a number") << QStringList{"--sort", "name"} << QByteArray() << 2 << ""
                                       << "whole number";
    QTest::newRow("positional argument") << QStringList{"extra"} << QByteArray() << 2 << ""
                                         << "unexpected argument";
    QTest::newRow("unknown scope") << QStringList{"--search-in", "names"} << QByteArray() << 2 << ""
                                   << "--search-in takes uuid or all";
    QTest::newRow("time-out not a number")
        << QStringList{"--timeout", "soon"} << QByteArray() << 2 << ""
        << "time-out";
    QTest::newRow("the longest time-out, a day")
        << newer + QStringList{"--timeout", "86400"} << QByteArray() << 0 << ""
        << "";
    QTest::newRow("output with no file name")
        << newer + QStringList{"--output", ""} << QByteArray() << 2 << ""
        << "--output needs a value";
    QTest::newRow("election without identifier")
        << QStringList{"--elect", "use"} << QByteArray() << 2 << ""
        << "go together";
    QTest::newRow("election of a captured listing")
        << newer + QStringList{"--elect", "use", "--identifier", "x"} << QByteArray() << 2 << ""
        << "not on --listing";
    for (const char *option : {"--listing", "--compare", "--identifier", "--uuid", "--explain",
                               "--register", "--unregister"})
        QTest::newRow(option) << QStringList{option, ""} << QByteArray() << 2 << ""
                              << QString::fromLatin1(option) + " needs a value";
    QTest::newRow("the command of an election")
        << QStringList{"--print-command", "--elect", "use", "--uuid", "C0-FE"} << QByteArray() << 0
        << "cli/print-election.txt"
        << "";
    // Awkward paths, the working folder's way (the tests run in the build's).
    QTest::newRow("the command of a registration")
        << QStringList{"--register", "/A/It's \"Quoted\".appex", "--print-command"} << QByteArray()
        << 0 << "cli/print-register.txt"
        << "";
    QTest::newRow("the command of a removal, a line end in its path")
        << QStringList{"--print-command", "--unregister", "/A/Two\nLines.appex/"} << QByteArray()
        << 0 << "cli/print-unregister.txt"
        << "";
    QTest::newRow("the command of nothing")
        << QStringList{"--print-command"} << QByteArray() << 2 << ""
        << "--print-command goes with";
    QTest::newRow("a dry run of nothing") << QStringList{"--dry-run"} << QByteArray() << 2 << ""
                                          << "--dry-run goes with --clean-stale";
    QTest::newRow("two changes at once")
        << QStringList{"--clean-stale", "--register", "x"} << QByteArray() << 2 << ""
        << "choose one of";
    QTest::newRow("comparison as RTF")
        << newer + QStringList{"--compare", m_older, "--format", "rtf"} << QByteArray() << 2 << ""
        << "not rtf";

    QTest::newRow("unreadable listing")
        << QStringList{"--listing", m_tools.path("none")} << QByteArray() << 1 << ""
        << "could not be read: No such file or directory";
    QTest::newRow("listing not UTF-8")
        << QStringList{"--listing", "-"} << QByteArray("UUID = \xff") << 1 << ""
        << "The listing on standard input is not valid UTF-8 text";
    const QString notText = m_tools.path("not-text.txt");
    QFile file(notText);
    if (!file.open(QIODevice::WriteOnly) || file.write("UUID = \xff\n") != 9)
        qFatal("cannot write %s", qPrintable(notText));
    file.close();
    QTest::newRow("older listing not UTF-8")
        << newer + QStringList{"--compare", notText} << QByteArray() << 1 << ""
        << "The older listing \u201C" + notText + "\u201D is not valid UTF-8 text";
    QTest::newRow("newer listing not UTF-8, compared")
        << QStringList{"--listing", notText, "--compare", m_older} << QByteArray() << 1 << ""
        << "The listing \u201C" + notText + "\u201D is not valid UTF-8 text";
    QTest::newRow("unwritable output")
        << newer + QStringList{"--output", m_tools.path("no/dir/out")} << QByteArray() << 1 << ""
        << "cannot write";
    QTest::newRow("tool fails, and says why")
        << QStringList{"--pluginkit", m_tools.write("failing", "echo 'no registry' >&2\nexit 3")}
        << QByteArray() << 1 << ""
        << "Error 3 when running pluginkit.\nno registry";
    QTest::newRow("tool hangs") << QStringList{"--pluginkit",
                                               m_tools.write("hang", "exec sleep 60"), "--timeout",
                                               "1"}
                                << QByteArray() << 1 << ""
                                << "did not finish within 1 second and was stopped.";
}

void TestCli::runs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, golden);
    QFETCH(QString, contains);
    const auto [exitCode, out, errors] = run(arguments, input);
    QTEST(exitCode, "exitCode");
    if (!golden.isEmpty())
        COMPARE_GOLDEN(out, golden);
    QVERIFY2((exitCode == 0 ? QString::fromUtf8(out) : errors).contains(contains),
             qPrintable(errors));
}

// With a folder to look under, bundles that are not there are a problem.
void TestCli::missingBundles()
{
    QVERIFY(QDir().mkpath(m_tools.path("root/System/Library/ExtensionKit/Extensions/"
                                       "TrackpadSettings.appex")));
    qputenv("ZEPHLIST_BUNDLE_ROOT", m_tools.path("root").toUtf8());
    const auto [status, out, errors] =
        run({"--pluginkit", ZEPHLIST_STAND_IN, "--point", "Settings", "--problems"});
    qunsetenv("ZEPHLIST_BUNDLE_ROOT");
    QCOMPARE(status, 0);
    QVERIFY(out.contains("Sharing Settings\t") && !out.contains("Trackpad Settings\t"));
    // Without one, nothing is missing.
    QVERIFY(
        !std::get<1>(run({"--pluginkit", ZEPHLIST_STAND_IN, "--point", "Settings", "--problems"}))
             .contains("Sharing Settings\t"));
}

void TestCli::elections()
{
    const QStringList trackpad{"--pluginkit", ZEPHLIST_STAND_IN,
                               "--search-in", "all",
                               "--search",    "com.apple.ui.TrackpadSettings",
                               "--format",    "json"};
    const auto [elected, out, errors] =
        run(trackpad +
            QStringList{"--elect", "ignore", "--identifier", "com.apple.ui.TrackpadSettings"});
    QCOMPARE(elected, 0);
    QVERIFY2(out.contains("\"election\": \"ignore\""), out.constData());
    QVERIFY(std::get<1>(run(trackpad)).contains("\"election\": \"ignore\"")); // it stays

    // One copy, by its UUID; then a system that does not keep the change.
    const QStringList sharing{"--pluginkit", ZEPHLIST_STAND_IN, "--search",
                              "C03113FC-9CF8-4B16-B852-95026BDCF193"};
    const auto [copyElected, copyOut, copyErrors] =
        run(sharing + QStringList{"--elect", "ignore", "--uuid",
                                  "C03113FC-9CF8-4B16-B852-95026BDCF193", "--format", "json"});
    QCOMPARE(copyElected, 0);
    QVERIFY2(copyOut.contains("\"election\": \"ignore\""), copyOut.constData());
    qputenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS", "1");
    const auto [kept, keptOut, keptErrors] =
        run({"--pluginkit", ZEPHLIST_STAND_IN, "--elect", "use", "--uuid",
             "C03113FC-9CF8-4B16-B852-95026BDCF193"});
    qunsetenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS");
    QCOMPARE(kept, 1);
    QVERIFY2(keptErrors.contains("macOS did not keep the change for"), qPrintable(keptErrors));
}

// Paths as the user gives them, relative or awkward, are named resolved; the
// bundle stays on disk whatever happens to its registration.
void TestCli::registrations()
{
    const QStringList standIn{"--pluginkit", ZEPHLIST_STAND_IN};
    const QString folder = m_tools.path("bundles");
    const QString quoted = "It's \"Quoted\".appex";
    const QString twoLines = "Two\nLines.appex";
    const QString nameless = "Nameless.appex";
    for (const QString &bundle : {quoted, twoLines, nameless})
        QVERIFY(QDir(folder).mkpath(bundle + "/Contents"));
    QFile descriptor(folder + '/' + nameless + "/Contents/zephlist-standin.txt");
    QVERIFY(descriptor.open(QIODevice::WriteOnly) && descriptor.write("identifier=\n") > 0);
    descriptor.close();

    const auto runIn = [&](const QString &option, const QString &path) {
        return run(standIn + QStringList{option, path}, {}, folder);
    };
    for (const QString &bundle : {quoted, twoLines}) {
        const QString resolved = folder + '/' + bundle;
        QCOMPARE(runIn("--register", bundle),
                 std::tuple(0, QByteArray(), "Registered " + resolved + ".\n"));
        QCOMPARE(runIn("--unregister", "./" + bundle + "/"),
                 std::tuple(0, QByteArray(), "Removed the registration of " + resolved + ".\n"));
        const auto [again, out, errors] = runIn("--unregister", bundle);
        QCOMPARE(again, 1);
        QCOMPARE(errors, "zephlist-cli: No copy is registered at " + resolved +
                             "; it may have been removed already.\nremove: no plugin at " +
                             resolved + "\n");
        QVERIFY(QFileInfo(resolved).isDir());
    }
    const auto [status, out, errors] = runIn("--register", nameless);
    QCOMPARE(status, 1);
    QVERIFY2(errors.startsWith("zephlist-cli: Could not register " + folder + '/' + nameless) &&
                 errors.contains("add: no identifier for " + folder + '/' + nameless),
             qPrintable(errors));
}

// The dry run changes nothing; the clean-up removes what it planned, and
// leaves nothing for a second one.
void TestCli::cleanStale()
{
    QFile::remove(m_tools.path("elections")); // the sample's registrations as they come
    const QStringList cleanUp{"--pluginkit", ZEPHLIST_STAND_IN, "--clean-stale"};
    for (int dryRun = 0; dryRun < 2; ++dryRun) {
        const auto [status, out, errors] = run(cleanUp + QStringList{"--dry-run"});
        QCOMPARE(status, 0);
        COMPARE_GOLDEN(out, "cli/clean-stale-dry-run.txt");
    }
    const auto [printed, commands, errors] = run(cleanUp + QStringList{"--print-command"});
    QCOMPARE(printed, 0);
    COMPARE_GOLDEN(commands, "cli/clean-stale-commands.txt");
    QCOMPARE(run(cleanUp), std::tuple(0, QByteArray(), QString("Removed 12 registrations.\n")));
    QCOMPARE(run(cleanUp + QStringList{"--dry-run"}),
             std::tuple(0, QByteArray(), QString("No stale copies to remove.\n")));
    QVERIFY(std::get<1>(run({"--pluginkit", ZEPHLIST_STAND_IN, "--all-copies"}))
                .contains("/Applications/Notes Plus.app/Contents/PlugIns/NotesPlusWidget.appex"));
    QCOMPARE(std::get<0>(run(cleanUp + QStringList{"--listing", m_newer})), 2);
}

// Kept listings as another run, a newer Zephlist or a full disk left them.
void TestCli::historyListed()
{
    m_history = m_tools.path("listed");
    QVERIFY(QDir().mkpath(m_history));
    const QList<std::pair<QString, QByteArray>> files{
        {"20261206T140200.000Z-7-000000.listing", "zephlist-listing 1 records 1 bytes 1\nA"},
        {"20261206T140200.000Z-7-000001.listing", "zephlist-listing 1 records 2 bytes 3\nBB\n"},
        {"20261206T150000.500Z-9-000000.listing", "zephlist-listing 1 records 9 bytes 99\ncut"},
        {"20271206T000000.000Z-9-000000.listing", "zephlist-listing 3 records 9 bytes 0\n"}};
    for (const auto &[name, bytes] : files) {
        QFile file(m_history + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    auto [status, out, errors] = run({"--history"});
    QCOMPARE(status, 0);
    COMPARE_GOLDEN(out.replace(m_history.toUtf8(), "HISTORY"), "cli/history.tsv");
    QCOMPARE(errors.replace(m_history, "HISTORY"),
             "Passed over HISTORY/20261206T150000.500Z-9-000000.listing: cut short\n"
             "Passed over HISTORY/20271206T000000.000Z-9-000000.listing: kept by a newer "
             "Zephlist\n");
    // Where --output says, as --format says.
    const QString file = m_tools.path("history.json");
    QCOMPARE(std::get<0>(run({"--history", "--format", "json", "--output", file})), 0);
    QFile json(file);
    QVERIFY(json.open(QIODevice::ReadOnly));
    COMPARE_GOLDEN(json.readAll().replace(m_history.toUtf8(), "HISTORY"), "cli/history.json");
    // What only a listing takes is refused, not passed over.
    for (const QStringList &refused :
         {QStringList{"--format", "rtf"}, QStringList{"--search", "Notes"},
          QStringList{"--compare", "previous"}, QStringList{"--listing", m_newer}}) {
        const auto [code, written, said] = run(QStringList{"--history"} + refused);
        QCOMPARE(code, 2);
        QVERIFY2(written.isEmpty() && said.startsWith("zephlist-cli: --history "),
                 qPrintable(said));
    }
    m_history = m_tools.path("history");
}

// The tool's listings are kept when they changed; --compare previous reads
// the newest one before this run's is kept.
void TestCli::historyKeptAndCompared()
{
    QFile::remove(m_tools.path("elections"));
    m_history = m_tools.path("kept");
    const QStringList standIn{"--pluginkit", ZEPHLIST_STAND_IN};
    const QStringList previous = standIn + QStringList{"--compare", "previous"};
    const auto [none, noneOut, noneErrors] = run(previous);
    QCOMPARE(none, 1);
    QVERIFY2(noneErrors.contains("No listing is kept in " + m_history + " to compare with yet."),
             qPrintable(noneErrors));
    const auto kept = [this] { return std::get<1>(run({"--history"})).count('\n'); };
    QCOMPARE(std::get<0>(run(standIn)), 0);
    QCOMPARE(std::get<0>(run(standIn)), 0);
    QCOMPARE(kept(), 1);
    QCOMPARE(
        std::get<0>(run(standIn + QStringList{"--elect", "ignore", "--identifier",
                                              "com.apple.ui.TrackpadSettings", "--no-history"})),
        0);
    QCOMPARE(kept(), 1);
    const auto [compared, changes, said] = run(previous);
    QCOMPARE(compared, 0);
    QVERIFY2(changes.startsWith("~\tTrackpad Settings\t") && changes.count('\n') == 1,
             changes.constData());
    QVERIFY2(
        QRegularExpression("^Since \\d+ \\w{3} \\d\\d:\\d\\d: 1 changed\n$").match(said).hasMatch(),
        qPrintable(said));
    QCOMPARE(kept(), 2);
    QCOMPARE(std::get<0>(run({"--listing", m_newer, "--compare", "previous"})), 2);

    // Where nothing can be written, the listing is still all there.
    m_history = m_tools.path("elections") + "/history";
    const auto [status, out, errors] = run(standIn);
    QCOMPARE(status, 0);
    QCOMPARE(out, std::get<1>(run({"--pluginkit", ZEPHLIST_STAND_IN, "--no-history"})));
    QCOMPARE(errors, "zephlist-cli: The listing was not kept in the history: cannot make the "
                     "folder " +
                         m_history + "\n");
    m_history = m_tools.path("history");
}

// The tool runs in a group of its own, out of the terminal's reach: the CLI
// stops the whole group when it is told to end, then ends by the same signal.
void TestCli::terminationStopsTheToolsGroup_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGQUIT") << SIGQUIT;
    QTest::newRow("SIGPIPE") << SIGPIPE;
}

void TestCli::terminationStopsTheToolsGroup()
{
    QFETCH(int, signal);
    const QString pidFile = m_tools.path(QStringLiteral("child%1.pid").arg(signal));
    const QString tool = m_tools.write(QStringLiteral("spawner%1").arg(signal),
                                       "sleep 60 &\necho $! > '" + pidFile.toUtf8() + "'\nwait");
    QProcess cli;
    cli.setChildProcessModifier(dumpsNoCore);
    cli.start(QStringLiteral(ZEPHLIST_CLI), {"--pluginkit", tool});
    QTRY_VERIFY(FakeTool::isRunning(pidFile));
    QCOMPARE(::kill(pid_t(cli.processId()), signal), 0);
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::CrashExit); // by the signal, as if uncaught
    QCOMPARE(cli.exitCode(), signal);
    QTRY_VERIFY(!FakeTool::isRunning(pidFile));
}

// A reader that went away (zephlist-cli | head -1) ends the CLI by SIGPIPE,
// quietly, as it ends any program; but only once what the tool left running
// is stopped, even what outlasts SIGTERM.
void TestCli::closedPipeStopsTheToolFirst()
{
    const QString pidFile = m_tools.path(QStringLiteral("stubborn.pid"));
    const QString tool =
        m_tools.write("stubborn", "(trap '' TERM; exec sleep 60) > /dev/null 2>&1 &\necho $! > '" +
                                      pidFile.toUtf8() + "'\ncat '" + m_newer.toUtf8() + "'");
    int output[2];
    QCOMPARE(::pipe(output), 0);
    ::close(output[0]); // no reader
    QProcess cli;
    cli.setChildProcessModifier([writeEnd = output[1]] { ::dup2(writeEnd, STDOUT_FILENO); });
    cli.start(QStringLiteral(ZEPHLIST_CLI), {"--pluginkit", tool});
    ::close(output[1]);
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
    QCOMPARE(cli.exitCode(), SIGPIPE);
    QCOMPARE(cli.readAllStandardError(), QByteArray());
    QTRY_VERIFY_WITH_TIMEOUT(!FakeTool::isRunning(pidFile), 1000);
}

// Killed outright, the CLI can stop nothing itself: the tool goes with it.
void TestCli::toolEndsWithAKilledCli()
{
#ifndef Q_OS_LINUX
    QSKIP("a tool follows a killed parent on Linux only");
#endif
    const QString pidFile = m_tools.path(QStringLiteral("slow.pid"));
    const QString tool =
        m_tools.write("slow", "echo $$ > '" + pidFile.toUtf8() + "'\nexec sleep 60");
    QProcess cli;
    cli.start(QStringLiteral(ZEPHLIST_CLI), {"--pluginkit", tool});
    QTRY_VERIFY(FakeTool::isRunning(pidFile));
    QCOMPARE(::kill(pid_t(cli.processId()), SIGKILL), 0);
    QVERIFY(cli.waitForFinished(10000));
    QTRY_VERIFY_WITH_TIMEOUT(!FakeTool::isRunning(pidFile), 5000);
}

// As `zephlist-cli &` in a script starts it: Ctrl+C is meant for the script.
void TestCli::interruptIgnoredAtStartStaysIgnored()
{
    const QString tool =
        m_tools.write("interrupting", "kill -INT $PPID\ncat '" + m_newer.toUtf8() + "'");
    QProcess cli;
    cli.setChildProcessModifier([] { ::signal(SIGINT, SIG_IGN); });
    cli.start(QStringLiteral(ZEPHLIST_CLI), {"--pluginkit", tool});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(cli.readAllStandardOutput(), std::get<1>(run({"--listing", m_newer})));
}

// --output writes the pieces as they come into a file beside the earlier
// one: a write that fails midway leaves that file as it was and nothing
// beside it; a whole output replaces it with what standard output gets.
void TestCli::outputReplacedOnlyWhenWhole()
{
    const QString listing = m_tools.path(QStringLiteral("large.txt"));
    QFile large(listing);
    // Some MiB of JSON, several pieces.
    QVERIFY(large.open(QIODevice::WriteOnly) &&
            large.write((readTestData("listings/newer.txt") + '\n').repeated(600)) > 0);
    large.close();
    const QStringList arguments{"--listing", listing, "--format", "json"};
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.json"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write("earlier") == 7);
    out.close();
    const auto outContents = [&out] {
        const QByteArray bytes = out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
        out.close();
        return bytes;
    };

    QProcess limited; // to files of 64 KiB, as if the disk filled up
    limited.setChildProcessModifier([] {
        const rlimit limit{65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN); // the write fails instead
    });
    limited.start(QStringLiteral(ZEPHLIST_CLI), arguments + QStringList{"--output", path});
    QVERIFY(limited.waitForFinished(60000));
    QCOMPARE(limited.exitCode(), 1);
    QVERIFY2(limited.readAllStandardError().contains("File too large"), "no reason given");
    QCOMPARE(outContents(), QByteArray("earlier"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.json"});

    QCOMPARE(std::get<0>(run(arguments + QStringList{"--output", path})), 0);
    const QByteArray whole = std::get<1>(run(arguments));
    QVERIFY(whole.size() > 2 * 1024 * 1024);
    QCOMPARE(outContents(), whole);
}

void TestCli::outputOntoAFifo()
{
    const QString fifo = m_tools.path(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start(QStringLiteral("cat"), {fifo});
    QCOMPARE(std::get<0>(run({"--listing", m_newer, "--output", fifo})), 0);
    // Had the FIFO been replaced, the reader would still be waiting for a writer.
    QVERIFY(reader.waitForFinished(10000));
    QCOMPARE(reader.readAllStandardOutput(), std::get<1>(run({"--listing", m_newer})));
    QVERIFY(QFileInfo::exists(fifo) && !QFileInfo(fifo).isFile());
}

// As "--output /dev/stdout >> log" does: the log's earlier lines stay.
void TestCli::outputOntoTheFileStandardOutputAppendsTo()
{
    const QString log = m_tools.path(QStringLiteral("log"));
    for (const QStringList &output : {QStringList(), QStringList{"--output", log}}) {
        QProcess cli;
        cli.setStandardOutputFile(log, QIODevice::Append);
        cli.start(QStringLiteral(ZEPHLIST_CLI), QStringList{"--listing", m_newer} + output);
        QVERIFY(cli.waitForFinished(60000) && cli.exitCode() == 0);
    }
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), std::get<1>(run({"--listing", m_newer})).repeated(2));
}

void TestCli::runsTheStandInTool()
{
    const auto [exitCode, out, errors] = run({});
    QCOMPARE(exitCode, 0);
    const QList<QByteArray> lines = out.split('\n');
    QCOMPARE(lines.size(), 473); // each record's line, then an empty end
    QByteArray previousSdk;
    for (const QByteArray &line : lines.first(472)) {
        const QList<QByteArray> fields = line.split('\t');
        QCOMPARE(fields.size(), 6);
        QVERIFY2(fields[4].toLower() >= previousSdk,
                 line.constData()); // the sample's SDKs are ASCII
        previousSdk = fields[4].toLower();
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
