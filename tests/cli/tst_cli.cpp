#include "listingbuilder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess cli;
    cli.start(QStringLiteral(ZEPHLIST_CLI), arguments);
    cli.write(input);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(60000))
        qFatal("zephlist-cli did not finish");
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            cli.readAllStandardOutput(), cli.readAllStandardError()};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tsvFromListingFile();
    void jsonFromStandardInput();
    void search_data();
    void search();
    void writesOutputFile();
    void badUsage_data();
    void badUsage();
    void failures_data();
    void failures();
    void runsTheStandInTool();

private:
    QTemporaryDir m_dir;
    QString m_listing;
};

void TestCli::initTestCase()
{
    m_listing = m_dir.filePath(QStringLiteral("listing.txt"));
    QFile file(m_listing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ListingBuilder()
                   .add({QStringLiteral("Zeta"), QStringLiteral("AB12-0001"),
                         QStringLiteral("com.apple.share")})
                   .add({QStringLiteral("Café"), QStringLiteral("cd34-0002"),
                         QStringLiteral("com.apple.widget"), QStringLiteral("Notes")})
                   .add({QStringLiteral("alpha"), QStringLiteral("ab12-0003"),
                         QStringLiteral("com.apple.widget")})
                   .listing());
}

void TestCli::tsvFromListingFile()
{
    const Run run = runCli(
        {QStringLiteral("--listing"), m_listing, QStringLiteral("--sort"), QStringLiteral("3")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(
        QString::fromUtf8(run.out),
        QStringLiteral(
            "alpha\t/System/Library/ExtensionKit/Extensions/alpha.appex\t\t\twidget\tab12-0003\n"
            "Café\t/System/Library/ExtensionKit/Extensions/Café.appex\tNotes\t"
            "/Applications/Notes.app\twidget\tcd34-0002\n"
            "Zeta\t/System/Library/ExtensionKit/Extensions/Zeta.appex\t\t\tshare\tAB12-0001\n"));
}

void TestCli::jsonFromStandardInput()
{
    QFile file(m_listing);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Run run = runCli({QStringLiteral("--listing"), QStringLiteral("-"),
                            QStringLiteral("--format"), QStringLiteral("json")},
                           file.readAll());
    QCOMPARE(run.exitCode, 0);
    QJsonParseError error;
    const QJsonArray records = QJsonDocument::fromJson(run.out, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(records.size(), 3);
    // Sort code 0: SDK "share" before "widget", then by name.
    const QJsonObject cafe = records[2].toObject();
    QCOMPARE(cafe.keys(), QStringList({"SDK", "name", "parentName", "parentPath", "path", "uuid"}));
    QCOMPARE(cafe[QStringLiteral("name")].toString(), QStringLiteral("Café"));
    QCOMPARE(cafe[QStringLiteral("parentName")].toString(), QStringLiteral("Notes"));
    QCOMPARE(cafe[QStringLiteral("SDK")].toString(), QStringLiteral("widget"));
    QCOMPARE(records[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Zeta"));
}

void TestCli::search_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("uuids");

    QTest::newRow("ignores case") << "AB12" << QStringList{"AB12-0001", "ab12-0003"};
    QTest::newRow("empty keeps all") << "" << QStringList{"AB12-0001", "ab12-0003", "cd34-0002"};
    QTest::newRow("name is not searched") << "zeta" << QStringList{};
}

void TestCli::search()
{
    QFETCH(QString, query);
    const Run run = runCli({QStringLiteral("--listing"), m_listing, QStringLiteral("--search"),
                            query, QStringLiteral("--sort"), QStringLiteral("2")});
    QCOMPARE(run.exitCode, 0);
    QStringList uuids;
    for (const QString &line : QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts))
        uuids << line.section(u'\t', 5);
    QTEST(uuids, "uuids");
}

void TestCli::writesOutputFile()
{
    const QString output = m_dir.filePath(QStringLiteral("out.tsv"));
    const Run run =
        runCli({QStringLiteral("--listing"), m_listing, QStringLiteral("--output"), output});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), 3);
}

void TestCli::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option";
    QTest::newRow("sort not a number") << QStringList{"--sort", "name"} << "whole number";
    QTest::newRow("sort beyond 64 bits")
        << QStringList{"--sort", "99999999999999999999"} << "whole number";
    QTest::newRow("unknown format") << QStringList{"--format", "xml"} << "unknown format";
    QTest::newRow("positional argument") << QStringList{"extra"} << "unexpected argument";
    QTest::newRow("missing value") << QStringList{"--listing"} << "Missing value";
}

void TestCli::badUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QVERIFY(run.err.contains("Usage:"));
    QVERIFY(run.out.isEmpty());
}

void TestCli::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");

    const QString missing = m_dir.filePath(QStringLiteral("missing.txt"));
    QTest::newRow("unreadable listing")
        << QStringList{"--listing", missing} << QByteArray() << missing;
    QTest::newRow("listing not UTF-8")
        << QStringList{"--listing", "-"} << QByteArray("UUID = \xff") << "UTF-8";
    QTest::newRow("unwritable output")
        << QStringList{"--listing", m_listing, "--output",
                       m_dir.filePath(QStringLiteral("no/such/dir/out"))}
        << QByteArray() << "cannot write";
}

void TestCli::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, message);
    const Run run = runCli(arguments, input);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QVERIFY(run.out.isEmpty());
}

void TestCli::runsTheStandInTool()
{
    const Run run = runCli({});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 400);
    QString previousSdk;
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 6);
        QVERIFY(!fields[5].isEmpty());
        QVERIFY2(fields[4].toLower() >= previousSdk,
                 qPrintable(line)); // the sample's SDKs are ASCII
        previousSdk = fields[4].toLower();
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
