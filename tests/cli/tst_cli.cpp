#include "listingbuilder.h"
#include "version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runs_data();
    void runs();
    void json();
    void outputOntoAFifo();
    void outputOntoTheFileStandardOutputAppendsTo();
    void runsTheStandInTool();

private:
    // Exit code, standard output and standard error of one run.
    std::tuple<int, QString, QString> run(const QStringList &arguments,
                                          const QByteArray &input = {});

    QTemporaryDir m_dir;
    QString m_listing;
};

std::tuple<int, QString, QString> TestCli::run(const QStringList &arguments,
                                               const QByteArray &input)
{
    QProcess cli;
    cli.start(QStringLiteral(ZEPHLIST_CLI), arguments);
    cli.write(input);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(60000) || cli.exitStatus() != QProcess::NormalExit)
        qFatal("zephlist-cli did not finish");
    return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
            QString::fromUtf8(cli.readAllStandardError())};
}

void TestCli::initTestCase()
{
    m_listing = m_dir.filePath(QStringLiteral("listing.txt"));
    QFile file(m_listing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ListingBuilder()
                   .add({"Zeta", "AB12-0001", "com.apple.share"})
                   .add({"Café", "cd34-0002", "com.apple.widget", "Notes"})
                   .add({"alpha", "ab12-0003", "com.apple.widget"})
                   .listing());
}

void TestCli::runs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");   // the whole of standard output
    QTest::addColumn<QString>("error"); // contained in standard error

    const QString path = "/System/Library/ExtensionKit/Extensions/";
    const QString zeta = "Zeta\t" + path + "Zeta.appex\t\t\tshare\tAB12-0001\n";
    const QString cafe =
        "Café\t" + path + "Café.appex\tNotes\t/Applications/Notes.app\twidget\tcd34-0002\n";
    const QString alpha = "alpha\t" + path + "alpha.appex\t\t\twidget\tab12-0003\n";
    QFile listing(m_listing);
    listing.open(QIODevice::ReadOnly);
    const QByteArray stdinListing = listing.readAll();
    const QStringList file = {"--listing", m_listing};

    QTest::newRow("by name") << file + QStringList{"--sort", "3"} << QByteArray() << 0
                             << alpha + cafe + zeta << "";

    QTest::newRow("standard input, code 9 as SDK")
        << QStringList{"--listing", "-", "--sort", "9"} << stdinListing << 0 << zeta + alpha + cafe
        << "";
    QTest::newRow("search ignores case") << file + QStringList{"--search", "AB12", "--sort", "2"}
                                         << QByteArray() << 0 << zeta + alpha << "";

    QTest::newRow("unknown option") << QStringList{"--bogus"} << QByteArray() << 2 << ""
                                    << "Unknown option";
    QTest::newRow("sort not a number") << QStringList{"--sort", "name"} << QByteArray() << 2 << ""
                                       << "whole number";

    QTest::newRow("positional argument") << QStringList{"extra"} << QByteArray() << 2 << ""
                                         << "unexpected argument";
    QTest::newRow("unreadable listing") << QStringList{"--listing", m_dir.filePath("none")}
                                        << QByteArray() << 1 << "" << m_dir.filePath("none");
    QTest::newRow("listing not UTF-8")
        << QStringList{"--listing", "-"} << QByteArray("UUID = \xff") << 1 << ""
        << "UTF-8";
    QTest::newRow("unwritable output")
        << file + QStringList{"--output", m_dir.filePath("no/dir/out")} << QByteArray() << 1 << ""
        << "cannot write";
    QTest::newRow("RTF report")
        << file + QStringList{"--format", "rtf", "--search", "0002"} << QByteArray() << 0
        << "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
           "{\\fonttbl{\\f0\\fswiss\\fcharset0 Helvetica;}}\n"
           "{\\colortbl;\\red0\\green122\\blue255;\\red40\\green205\\blue65;"
           "\\red255\\green59\\blue48;}\n"
           "{\\*\\generator Zephlist " ZEPHLIST_VERSION ";}\n\\pard\\plain\\f0\\fs24\n"
           "\\cf1 widget \\cf0 Caf\\u233? \\cf2 " +
               path +
               "Caf\\u233?.appex \\cf0 "
               "\\u-10178?\\u-8751?\\u8205?\\u-10178?\\u-8750? Notes \\cf3 /Applications/Notes.app "
               "\\cf0 cd34-0002\\par\n}\n"
        << "";
}

void TestCli::runs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, error);
    const auto [exitCode, out, err] = run(arguments, input);
    QTEST(exitCode, "exitCode");
    QTEST(out, "out");
    QVERIFY2(err.contains(error), qPrintable(err));
}

void TestCli::json()
{
    const QString output = m_dir.filePath(QStringLiteral("out.json"));
    const auto [exitCode, out, err] =
        run({"--listing", m_listing, "--format", "json", "--output", output});
    QCOMPARE(exitCode, 0);
    QVERIFY(out.isEmpty());
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonArray records = QJsonDocument::fromJson(file.readAll(), &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(records.size(), 3);
    const QJsonObject cafe = records[2].toObject();
    QCOMPARE(cafe.keys(), QStringList({"SDK", "name", "parentName", "parentPath", "path", "uuid"}));
    QCOMPARE(cafe["name"].toString(), QStringLiteral("Café"));
    QCOMPARE(cafe["parentPath"].toString(), QStringLiteral("/Applications/Notes.app"));
}

void TestCli::outputOntoAFifo()
{
    const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start(QStringLiteral("cat"), {fifo});
    QCOMPARE(std::get<0>(run({"--listing", m_listing, "--output", fifo})), 0);
    // Had the FIFO been replaced, the reader would still be waiting for a writer.
    QVERIFY(reader.waitForFinished(10000));
    QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()),
             std::get<1>(run({"--listing", m_listing})));
    QVERIFY(QFileInfo::exists(fifo) && !QFileInfo(fifo).isFile());
}

// As "--output /dev/stdout >> log" does: the log's earlier lines stay.
void TestCli::outputOntoTheFileStandardOutputAppendsTo()
{
    const QString log = m_dir.filePath(QStringLiteral("log"));
    for (const QStringList &output : {QStringList(), QStringList{"--output", log}}) {
        QProcess cli;
        cli.setStandardOutputFile(log, QIODevice::Append);
        cli.start(QStringLiteral(ZEPHLIST_CLI), QStringList{"--listing", m_listing} + output);
        QVERIFY(cli.waitForFinished(60000) && cli.exitCode() == 0);
    }
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), std::get<1>(run({"--listing", m_listing})).toUtf8().repeated(2));
}

void TestCli::runsTheStandInTool()
{
    const auto [exitCode, out, err] = run({});
    QCOMPARE(exitCode, 0);
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 400);
    QString previousSdk;
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 6);
        QVERIFY2(fields[4].toLower() >= previousSdk,
                 qPrintable(line)); // the sample's SDKs are ASCII
        previousSdk = fields[4].toLower();
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
