#include "golden.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The widget's copies, in the order -A -D lists them: the sample's, in use, then three more.
const QString widget = QStringLiteral("com.example.notesplus.NotesPlusWidget");
const QString appStore = QStringLiteral("780D95AF-5863-46F5-AF13-142DDB273726");
const QString debugBuild = QStringLiteral("3B3584C4-8F2E-4C65-8FEA-C31BC3CCF18F");
const QString releaseBuild = QStringLiteral("CB1A7554-7326-4E1A-9FCF-10FBF7AFEF35");
const QString otherCheckout = QStringLiteral("6413F69B-B52D-4312-A7C3-579BADC0F2A1");
const QString appStorePath =
    QStringLiteral("/Applications/Notes Plus.app/Contents/PlugIns/NotesPlusWidget.appex");
const QString releasePath = QStringLiteral(
    "/Users/dana/Library/Developer/Xcode/DerivedData/NotesPlus-bqxhzvkeyfsjtdgcnwmrlpaoiuy/Build/"
    "Products/Release/Notes Plus.app/Contents/PlugIns/NotesPlusWidget.appex");
const QString trackpad = QStringLiteral("com.apple.ui.TrackpadSettings");
const QString trackpadPath =
    QStringLiteral("/System/Library/ExtensionKit/Extensions/TrackpadSettings.appex");

int modeOf(const QString &path)
{
    struct stat status
    {
    };
    return ::stat(qPrintable(path), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString errors;
};

// The widget's copies listed with -A -D, one tag each.
QByteArray widgetCopies(QByteArrayView tags)
{
    const char *const versions[] = {"5.34.1", "5.33.0", "5.33.0", "5.34.1"};
    QByteArray listing;
    for (qsizetype i = 0; i < tags.size(); ++i)
        listing += tags[i] + QByteArray("    ") + widget.toUtf8() + '(' + versions[i] + ")\n";
    return listing;
}

bool write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestStandIn : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void listings_data();
    void listings();
    void usage_data();
    void usage();
    void elections_data();
    void elections();
    void electionsThatChangeNothing_data();
    void electionsThatChangeNothing();
    void stateFilesThatCannotTakeAnElection_data();
    void stateFilesThatCannotTakeAnElection();
    void electionKeepsTheFilesPermissions();
    void electionsAtOnceAreAllKept();
    void electionThroughASymbolicLink();
    void faults_data();
    void faults();
    void registrations_data();
    void registrations();
    void addedBundles();
    void addedCopyOfARegisteredIdentifier();
    void oddPathsRoundTrip();
    void refusedAdditions_data();
    void refusedAdditions();

private:
    // `environment` adds "NAME=value" entries; the working folder is the temporary one.
    [[nodiscard]] std::unique_ptr<QProcess> start(const QStringList &arguments,
                                                  const QStringList &environment = {});
    [[nodiscard]] Run run(const QStringList &arguments, const QStringList &environment = {});
    // "TAG UUID" of each line of `-mv -i identifier`, with `more` options.
    [[nodiscard]] QStringList listed(const QString &identifier, const QStringList &more = {});
    [[nodiscard]] QString state() const { return m_dir->filePath("elections"); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStandIn::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

std::unique_ptr<QProcess> TestStandIn::start(const QStringList &arguments,
                                             const QStringList &environment)
{
    auto tool = std::make_unique<QProcess>();
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert("ZEPHLIST_STANDIN_STATE", state());
    for (const QString &variable : environment)
        variables.insert(variable.section('=', 0, 0), variable.section('=', 1));
    tool->setProcessEnvironment(variables);
    tool->setWorkingDirectory(m_dir->path());
    tool->start(QStringLiteral(ZEPHLIST_STAND_IN), arguments);
    return tool;
}

Run TestStandIn::run(const QStringList &arguments, const QStringList &environment)
{
    const std::unique_ptr<QProcess> tool = start(arguments, environment);
    if (!tool->waitForFinished(60000) || tool->exitStatus() != QProcess::NormalExit)
        qFatal("the stand-in did not finish");
    return {tool->exitCode(), tool->readAllStandardOutput(),
            QString::fromUtf8(tool->readAllStandardError())};
}

QStringList TestStandIn::listed(const QString &identifier, const QStringList &more)
{
    QStringList copies;
    for (const QByteArray &line :
         run(QStringList{"-mv", "-i", identifier} + more).out.split('\n')) {
        if (line.contains('\t'))
            copies += QString::fromUtf8(line.left(1) + ' ' + line.split('\t').value(1));
    }
    return copies;
}

void TestStandIn::listings_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("golden");
    QTest::addColumn<bool>("afterSample"); // the sample's blocks, an empty line, then the golden

    QTest::newRow("-m -vv is the sample, then its count")
        << QStringList{"-m", "-vv"} << "standin/count.txt" << true;
    QTest::newRow("-m") << QStringList{"-m"} << "standin/m.txt" << false;
    QTest::newRow("-mv") << QStringList{"-mv"} << "standin/mv.txt" << false;
    QTest::newRow("-m -A -vv") << QStringList{"-m", "-A", "-vv"} << "standin/A-vv.txt" << true;
    QTest::newRow("-m -D -vv") << QStringList{"-m", "-D", "-vv"} << "standin/D-vv.txt" << true;
    QTest::newRow("-m -A -D -vv") << QStringList{"-m", "-A", "-D", "-vv"} << "standin/AD-vv.txt"
                                  << true;
    QTest::newRow("-mDvvA") << QStringList{"-mDvvA"} << "standin/AD-vv.txt" << true;
    QTest::newRow("-p") << QStringList{"-m", "-A", "-D", "-vv", "-p", "ExampleKit"}
                        << "standin/p.txt" << false;
    QTest::newRow("-vvv as -vv") << QStringList{"-mADvvv", "-p", "ExampleKit"} << "standin/p.txt"
                                 << false;
    QTest::newRow("-i") << QStringList{"-mADv", "-i", widget} << "standin/i.txt" << false;
    QTest::newRow("-u, in any case, joined")
        << QStringList{"-mvvD", "-u" + otherCheckout.toLower(), "-v"} << "standin/u.txt" << false;
    QTest::newRow("-u of a copy -A alone leaves out")
        << QStringList{"-m", "-A", "-u", releaseBuild} << "standin/none.txt" << false;
    QTest::newRow("-i and -p of another")
        << QStringList{"-m", "-i", widget, "-p", "ExampleKit"} << "standin/none.txt" << false;
    QTest::newRow("-vv of nothing, without a count")
        << QStringList{"-m", "-vv", "-i", "com.example.No"} << "standin/none.txt" << false;
}

void TestStandIn::listings()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, golden);
    QFETCH(bool, afterSample);
    const Run listed = run(arguments);
    QCOMPARE(listed.exitCode, 0);
    QByteArray out = listed.out;
    if (afterSample) {
        const QByteArray sample = readTestData("../../resources/pluginkit-sample.txt") + '\n';
        QVERIFY(out.startsWith(sample));
        out.remove(0, sample.size());
    }
    COMPARE_GOLDEN(out, golden);
}

void TestStandIn::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("an unknown option") << QStringList{"-m", "-x"};
    QTest::newRow("one among known ones") << QStringList{"-mAq"};
    QTest::newRow("no value") << QStringList{"-m", "-p"};
    QTest::newRow("an argument") << QStringList{"-m", "com.example"};
    QTest::newRow("-v alone") << QStringList{"-vv"};
    QTest::newRow("election of no one") << QStringList{"-e", "use"};
    QTest::newRow("election of two") << QStringList{"-e", "use", "-i", trackpad, "-u", "X"};
    QTest::newRow("election and listing") << QStringList{"-m", "-e", "use", "-i", trackpad};
    QTest::newRow("unknown choice") << QStringList{"-e", "maybe", "-i", trackpad};
    QTest::newRow("-a without a path") << QStringList{"-a"};
    QTest::newRow("-r of an empty path") << QStringList{"-r", ""};
    QTest::newRow("-a and -r") << QStringList{"-a", "A.appex", "-r", "B.appex"};
    QTest::newRow("-r and a listing") << QStringList{"-m", "-r", "B.appex"};
    QTest::newRow("-a of an identifier") << QStringList{"-a", "A.appex", "-i", trackpad};
}

void TestStandIn::usage()
{
    QFETCH(QStringList, arguments);
    const Run refused = run(arguments);
    QCOMPARE(refused.exitCode, 64);
    QVERIFY2(refused.errors.startsWith("usage: pluginkit -m"), qPrintable(refused.errors));
    QVERIFY(!QFile::exists(state()));
}

void TestStandIn::elections_data()
{
    QTest::addColumn<QList<QStringList>>("elections");
    QTest::addColumn<QByteArray>("listing"); // of every copy of the widget
    QTest::addColumn<QStringList>("inUse");  // its copies listed without -A or -D

    const QStringList ignoreWidget{"-e", "ignore", "-i", widget};
    const QStringList useRelease{"-e", "use", "-u", releaseBuild.toLower()};
    QTest::newRow("by identifier, every copy")
        << QList<QStringList>{ignoreWidget} << widgetCopies("----") << QStringList{"- " + appStore};
    QTest::newRow("by UUID, that copy, over its identifier's, and in use")
        << QList<QStringList>{useRelease, ignoreWidget} << widgetCopies("--+-")
        << QStringList{"+ " + releaseBuild};
    QTest::newRow("default by UUID, the identifier's again, and the sample's copy in use")
        << QList<QStringList>{ignoreWidget, useRelease, {"-e", "default", "-u", releaseBuild}}
        << widgetCopies("----") << QStringList{"- " + appStore};
    QTest::newRow("default by identifier, each copy's own tag")
        << QList<QStringList>{useRelease, ignoreWidget, {"-e", "default", "-i", widget}}
        << widgetCopies("+=+=") << QStringList{"+ " + releaseBuild};
    const QStringList useOther{"-e", "use", "-u", otherCheckout};
    QTest::newRow("use of a copy, another, then the first again: the latest in use")
        << QList<QStringList>{useOther, useRelease, useOther} << widgetCopies("+=++")
        << QStringList{"+ " + otherCheckout};
    QTest::newRow("ignore of the copy in use: the next one in use")
        << QList<QStringList>{{"-e", "ignore", "-u", appStore}} << widgetCopies("-===")
        << QStringList{"= " + debugBuild};
    QTest::newRow("ignore of the copy in use, the next ignored too")
        << QList<QStringList>{{"-e", "ignore", "-u", debugBuild}, {"-e", "ignore", "-u", appStore}}
        << widgetCopies("--==") << QStringList{"= " + releaseBuild};
    QTest::newRow("ignore of every copy: the sample's, ignored")
        << QList<QStringList>{{"-e", "ignore", "-u", otherCheckout},
                              {"-e", "ignore", "-u", releaseBuild},
                              {"-e", "ignore", "-u", debugBuild},
                              {"-e", "ignore", "-u", appStore}}
        << widgetCopies("----") << QStringList{"- " + appStore};
    QTest::newRow("use of a copy, then ignore of it: the sample's in use")
        << QList<QStringList>{useRelease, {"-e", "ignore", "-u", releaseBuild}}
        << widgetCopies("+=-=") << QStringList{"+ " + appStore};
    QTest::newRow("use of the identifier: every copy, the sample's in use")
        << QList<QStringList>{{"-e", "use", "-i", widget}} << widgetCopies("++++")
        << QStringList{"+ " + appStore};
}

void TestStandIn::elections()
{
    QFETCH(QList<QStringList>, elections);
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, inUse);
    for (const QStringList &election : elections) {
        const Run elected = run(election);
        QCOMPARE(elected.exitCode, 0);
        QVERIFY2(elected.out.isEmpty() && elected.errors.isEmpty(), qPrintable(elected.errors));
    }
    QCOMPARE(run({"-m", "-A", "-D", "-i", widget}).out, listing);
    QCOMPARE(listed(widget), inUse);
}

void TestStandIn::electionsThatChangeNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ignoreElections");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errors");

    QTest::newRow("unknown identifier")
        << QStringList{"-e", "use", "-i", "com.example.No"} << false << 1
        << "pluginkit: no plug-in with identifier com.example.No\n";
    QTest::newRow("unknown UUID") << QStringList{"-e", "ignore", "-u", widget} << false << 1
                                  << "pluginkit: no plug-in with UUID " + widget + "\n";
    QTest::newRow("identifier, not kept")
        << QStringList{"-e", "ignore", "-i", widget} << true << 0 << "";
    QTest::newRow("UUID, not kept")
        << QStringList{"-e", "ignore", "-u", releaseBuild} << true << 0 << "";
    QTest::newRow("use of a copy not in use, not kept")
        << QStringList{"-e", "use", "-u", releaseBuild} << true << 0 << "";
}

void TestStandIn::electionsThatChangeNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ignoreElections);
    QFETCH(int, exitCode);
    QFETCH(QString, errors);
    const Run elected =
        run(arguments,
            ignoreElections ? QStringList{"ZEPHLIST_STANDIN_IGNORE_ELECTIONS=1"} : QStringList{});
    QCOMPARE(elected.exitCode, exitCode);
    QCOMPARE(elected.errors, errors);
    QVERIFY(elected.out.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), {});
}

void TestStandIn::stateFilesThatCannotTakeAnElection_data()
{
    QTest::addColumn<QByteArray>("content"); // null: the state path is a folder
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("arguments");

    const QStringList elect{"-e", "use", "-i", trackpad};
    const QByteArray noTab = "com.apple.ui.SharingSettings\n" + trackpad.toUtf8() + "\tignore\n";
    QTest::newRow("a folder, elected") << QByteArray() << 0755 << elect;
    QTest::newRow("a folder, listed") << QByteArray() << 0755 << QStringList{"-m", "-vv"};
    QTest::newRow("read-only") << QByteArray(trackpad.toUtf8() + "\tignore\n") << 0444 << elect;
    QTest::newRow("a line without a tab, elected") << noTab << 0644 << elect;
    QTest::newRow("a line without a tab, listed") << noTab << 0644 << QStringList{"-m", "-vv"};
    QTest::newRow("an unknown choice")
        << QByteArray(trackpad.toUtf8() + "\tmaybe\n") << 0644 << QStringList{"-m", "-vv"};
    QTest::newRow("a backslash that escapes nothing")
        << QByteArray("path:/Applications/A\\q.appex\tremoved\n") << 0644
        << QStringList{"-r", appStorePath};
}

// Each fails, names the file and leaves it as it was, with nothing beside it
// but the lock that elections take.
void TestStandIn::stateFilesThatCannotTakeAnElection()
{
    QFETCH(QByteArray, content);
    QFETCH(int, mode);
    QFETCH(QStringList, arguments);
    QFile file(state());
    if (content.isNull()) {
        QVERIFY(QDir(m_dir->path()).mkdir("elections"));
    } else {
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
    }
    QVERIFY(::chmod(qPrintable(state()), mode) == 0);

    const Run failed = run(arguments);
    QCOMPARE(failed.exitCode, 1);
    QVERIFY2(failed.errors.startsWith("pluginkit: ") && failed.errors.contains(state()),
             qPrintable(failed.errors));
    QCOMPARE(QFileInfo(state()).isDir(), content.isNull());
    QStringList beside = QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    beside.removeOne("elections.lock");
    QCOMPARE(beside, QStringList{"elections"});
    if (!content.isNull()) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QCOMPARE(modeOf(state()), mode);
    }
}

void TestStandIn::electionKeepsTheFilesPermissions()
{
    QFile file(state());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(::chmod(qPrintable(state()), 0640) == 0);
    QCOMPARE(run({"-e", "ignore", "-i", trackpad}).exitCode, 0);
    QCOMPARE(modeOf(state()), 0640);
    QVERIFY(run({"-m", "-i", trackpad}).out.startsWith('-'));
}

void TestStandIn::electionsAtOnceAreAllKept()
{
    QList<QByteArray> identifiers;
    for (const QByteArray &line : run({"-m"}).out.split('\n')) {
        const QByteArray identifier = line.mid(5, line.indexOf('(') - 5);
        if (line.startsWith('+') && !identifiers.contains(identifier) && identifiers.size() < 20)
            identifiers += identifier;
    }
    std::vector<std::unique_ptr<QProcess>> tools;
    for (const QByteArray &identifier : identifiers)
        tools.push_back(start({"-e", "ignore", "-i", QString::fromUtf8(identifier)}));
    for (const std::unique_ptr<QProcess> &tool : tools) {
        QVERIFY(tool->waitForFinished(60000));
        QCOMPARE(tool->exitCode(), 0);
        QCOMPARE(tool->readAllStandardError(), QByteArray());
    }
    QCOMPARE(identifiers.size(), 20);
    for (const QByteArray &identifier : identifiers)
        QVERIFY2(run({"-m", "-i", QString::fromUtf8(identifier)}).out.startsWith('-'),
                 identifier.constData());
}

// The links stay; the file they lead to takes the election beside what it held.
void TestStandIn::electionThroughASymbolicLink()
{
    QVERIFY(QDir(m_dir->path()).mkdir("real") && QDir(m_dir->path()).mkdir("links"));
    const QByteArray sharing = "com.apple.ui.SharingSettings\tignore\n";
    QVERIFY(write(m_dir->filePath("real/elections"), sharing));
    QVERIFY(::symlink("links/next", qPrintable(state())) == 0);
    QVERIFY(::symlink("../real/elections", qPrintable(m_dir->filePath("links/next"))) == 0);
    QCOMPARE(run({"-e", "ignore", "-i", trackpad}).exitCode, 0);
    QVERIFY(QFileInfo(state()).isSymLink() && QFileInfo(m_dir->filePath("links/next")).isSymLink());
    QFile target(m_dir->filePath("real/elections"));
    QVERIFY(target.open(QIODevice::ReadOnly));
    QCOMPARE(target.readAll(), sharing + trackpad.toUtf8() + "\tignore\n");
}

void TestStandIn::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errors");

    QTest::newRow("connection invalid")
        << "connection-invalid" << QStringList{"-m", "-vv"} << 0 << "match: Connection invalid\n";
    QTest::newRow("connection invalid, one identifier")
        << "connection-invalid" << QStringList{"-mADv", "-i", widget} << 0
        << "match: Connection invalid\n";
    QTest::newRow("silent") << "silent" << QStringList{"-m", "-A", "-D", "-vvv"} << 0 << "";
    QTest::newRow("unknown")
        << "sometimes" << QStringList{"-m"} << 1
        << "pluginkit: ZEPHLIST_STANDIN_FAULT is connection-invalid or silent, not sometimes\n";
}

void TestStandIn::faults()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, errors);
    const Run listed = run(arguments, {"ZEPHLIST_STANDIN_FAULT=" + fault});
    QCOMPARE(listed.exitCode, exitCode);
    QCOMPARE(listed.errors, errors);
    QCOMPARE(listed.out, QByteArray());
}

void TestStandIn::registrations_data()
{
    QTest::addColumn<QList<QStringList>>("commands"); // each but the last succeeds
    QTest::addColumn<int>("exitCode");                // of the last
    QTest::addColumn<QString>("errors");              // of the last; %1 is the working folder
    QTest::addColumn<QStringList>("inUse");           // of the widget's copies, as in elections()
    QTest::addColumn<QStringList>("all");             // and with -A -D

    const QStringList all{"+ " + appStore, "= " + debugBuild, "= " + releaseBuild,
                          "= " + otherCheckout};
    const QStringList sampled{"+ " + appStore};
    const QStringList removeAppStore{"-r", appStorePath};
    QTest::newRow("-r of the copy in use: the next in use")
        << QList<QStringList>{removeAppStore} << 0 << "" << QStringList{"= " + debugBuild}
        << all.mid(1);
    QTest::newRow("-r of another copy")
        << QList<QStringList>{{"-r", releasePath}} << 0 << "" << sampled
        << QStringList{"+ " + appStore, "= " + debugBuild, "= " + otherCheckout};
    QTest::newRow("-r, then -a: as it was")
        << QList<QStringList>{removeAppStore, {"-a", appStorePath}} << 0 << "" << sampled << all;
    QTest::newRow("-r of a path removed already")
        << QList<QStringList>{removeAppStore, removeAppStore} << 1
        << "remove: no plugin at " + appStorePath + "\n"
        << QStringList{"= " + debugBuild} << all.mid(1);
    QTest::newRow("-r of a path never registered") << QList<QStringList>{{"-r", "Nothing.appex"}}
                                                   << 1 << "remove: no plugin at %1/Nothing.appex\n"
                                                   << sampled << all;
    QTest::newRow("-a of a path listed, spelled otherwise: nothing changes")
        << QList<QStringList>{{"-a", "/Applications/./Notes Plus.app/Contents/PlugIns/"
                                     "NotesPlusWidget.appex/"}}
        << 0 << "" << sampled << all;
    QTest::newRow("-a of a path that does not exist")
        << QList<QStringList>{{"-a", "Nothing.appex"}} << 1
        << "add: no bundle at %1/Nothing.appex: No such file or directory\n"
        << sampled << all;
}

// A command refused leaves the folder as it was.
void TestStandIn::registrations()
{
    QFETCH(QList<QStringList>, commands);
    QFETCH(int, exitCode);
    QFETCH(QString, errors);
    QFETCH(QStringList, inUse);
    QFETCH(QStringList, all);
    for (const QStringList &command : commands.mid(0, commands.size() - 1))
        QCOMPARE(run(command).exitCode, 0);
    const auto folder = [&] {
        QFile file(state());
        const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries) +
               QStringList{QString::fromUtf8(content)};
    };
    const QStringList before = folder();
    const Run last = run(commands.last());
    QCOMPARE(last.exitCode, exitCode);
    QCOMPARE(last.errors, QString(errors).replace("%1", m_dir->path()));
    QCOMPARE(last.out, QByteArray());
    if (exitCode != 0)
        QCOMPARE(folder(), before);
    QCOMPARE(listed(widget), inUse);
    QCOMPARE(listed(widget, {"-A", "-D"}), all);
}

// One bundle with a descriptor, in an app, named by a relative path; one
// without, named with "..", a last "/" and a name that Xcode would change.
void TestStandIn::addedBundles()
{
    const QString inApp = "Some App.app/Contents/PlugIns/Added.appex";
    QVERIFY(QDir(m_dir->path()).mkpath(inApp + "/Contents"));
    QVERIFY(QDir(m_dir->path()).mkpath("Résumé Widget.appex"));
    QVERIFY(write(m_dir->filePath(inApp + "/Contents/zephlist-standin.txt"),
                  "# written by hand\r\nidentifier=com.example.Added\r\nversion=2.0\n\n"
                  "point=com.apple.widgetkit-extension\nname=Added = Widget\n"));
    const QString before = QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd HH:mm:ss +0000");
    QCOMPARE(run({"-a", inApp}).errors, QString());
    QCOMPARE(run({"-a", "Some App.app/../Résumé Widget.appex/"}).errors, QString());
    const QString after = QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd HH:mm:ss +0000");

    QString listing = QString::fromUtf8(run({"-m", "-vv", "-i", "com.example.Added"}).out +
                                        run({"-m", "-vv", "-i", "R-sum--Widget"}).out);
    const QRegularExpression timestamp("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\+0000");
    for (auto match = timestamp.globalMatch(listing); match.hasNext();) {
        const QString time = match.next().captured();
        QVERIFY2(before <= time && time <= after, qPrintable(time));
    }
    listing.replace(timestamp, "NOW").replace(m_dir->path(), "TMP");
    listing.replace(QRegularExpression("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-"
                                       "[0-9A-F]{12}"),
                    "UUID");
    COMPARE_GOLDEN(listing.toUtf8(), "standin/added.txt");
}

// A further copy, not in use until the copy in use is removed.
void TestStandIn::addedCopyOfARegisteredIdentifier()
{
    QVERIFY(QDir(m_dir->path()).mkpath("Later.appex/Contents"));
    QVERIFY(write(m_dir->filePath("Later.appex/Contents/zephlist-standin.txt"),
                  "identifier=" + trackpad.toUtf8() + "\nversion=28.0\n"));
    QCOMPARE(run({"-a", "Later.appex"}).exitCode, 0);
    const QByteArray sampled = "+    com.apple.ui.TrackpadSettings(27.4)\n";
    const QByteArray added = "+    com.apple.ui.TrackpadSettings(28.0)\n";
    QCOMPARE(run({"-m", "-i", trackpad}).out, sampled);
    QCOMPARE(run({"-m", "-A", "-D", "-i", trackpad}).out, sampled + added);
    QCOMPARE(run({"-r", trackpadPath}).exitCode, 0);
    QCOMPARE(run({"-m", "-i", trackpad}).out, added);
}

void TestStandIn::oddPathsRoundTrip()
{
    const QString odd = m_dir->filePath("it's \"odd\" \\ with\ttab\r\nand line.appex");
    QVERIFY(QDir().mkpath(odd + "/Contents"));
    QVERIFY(write(odd + "/Contents/zephlist-standin.txt", "identifier=com.example.Odd\n"));
    QCOMPARE(run({"-a", odd}).exitCode, 0);
    const QByteArray line = run({"-mv", "-i", "com.example.Odd"}).out;
    QVERIFY2(line.endsWith('\t' + odd.toUtf8() + '\n'), line.constData());
    QCOMPARE(run({"-r", odd}).exitCode, 0);
    QCOMPARE(run({"-m", "-A", "-D", "-i", "com.example.Odd"}).out, QByteArray("(no matches)\n"));
    QCOMPARE(run({"-a", odd}).exitCode, 0);
    QCOMPARE(run({"-mv", "-i", "com.example.Odd"}).out, line); // the same copy, with its UUID
}

void TestStandIn::refusedAdditions_data()
{
    QTest::addColumn<QByteArray>("descriptor"); // null: the bundle is a file
    QTest::addColumn<QString>("errors");        // %1 is the bundle

    const QString line = "add: %1/Contents/zephlist-standin.txt:";
    QTest::newRow("a file") << QByteArray() << "add: no bundle at %1: Not a directory\n";
    QTest::newRow("a line without =")
        << QByteArray("version=1\nidentifier com.example.Bad\n")
        << line + "2: not identifier=, version=, point= or name= and a value\n";
    QTest::newRow("an unknown key") << QByteArray("bundle=com.example.Bad\n")
                                    << line + "1: not identifier=, version=, point= or name= "
                                              "and a value\n";
    QTest::newRow("an identifier with a space")
        << QByteArray("identifier=com.example.with space\n")
        << line + "1: an identifier or version holds no white space, colon or parenthesis\n";
    QTest::newRow("an empty identifier")
        << QByteArray("identifier=\n")
        << "add: no identifier for %1: %1/Contents/zephlist-standin.txt:1: identifier= is empty\n";
    QTest::newRow("a version in parentheses")
        << QByteArray("version=(1.0)\n")
        << line + "1: an identifier or version holds no white space, colon or parenthesis\n";
}

// Each names what is wrong and leaves no state behind.
void TestStandIn::refusedAdditions()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(QString, errors);
    const QString bundle = m_dir->filePath("Bad.appex");
    if (descriptor.isNull())
        QVERIFY(write(bundle, "not a folder"));
    else
        QVERIFY(QDir().mkpath(bundle + "/Contents") &&
                write(bundle + "/Contents/zephlist-standin.txt", descriptor));
    const Run refused = run({"-a", "Bad.appex"});
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(refused.errors, errors.arg(bundle));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"Bad.appex"});
}

QTEST_GUILESS_MAIN(TestStandIn)
#include "tst_standin.moc"
