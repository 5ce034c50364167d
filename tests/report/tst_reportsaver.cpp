#include "appexer.h"
#include "datestamp.h"
#include "fakedialogs.h"
#include "faketool.h"
#include "listingbuilder.h"
#include "reportsaver.h"
#include "rtfencoder.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestReportSaver : public QObject
{
    Q_OBJECT

private slots:
    void dateStamp_data();
    void dateStamp();
    void emptyCatalogueOpensNoPanel();
    void proposesNameFromTheCatalogueDate();
    void endings_data();
    void endings();
    void replacesAnExistingFile();
    void failedWriteShowsOneAlertEach();
    void reportIsComposedBeforeThePanelOpens();

private:
    QString writeListingTool(int entries);

    FakeTool m_tools;
    QTemporaryDir m_dir;
};

void TestReportSaver::dateStamp_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("stamp");

    const QLocale c = QLocale::c();
    QTest::newRow("zero-padded") << QDateTime(QDate(2026, 1, 2), QTime(3, 4)) << c
                                 << "2026_01_02_03-04";
    QTest::newRow("24-hour clock")
        << QDateTime(QDate(2026, 12, 5), QTime(15, 30)) << c << "2026_12_05_15-30";
    QTest::newRow("locale's digits")
        << QDateTime(QDate(2026, 1, 2), QTime(3, 4)) << QLocale("ar_EG")
        << "\u0662\u0660\u0662\u0666_\u0660\u0661_\u0660\u0662_\u0660\u0663-"
           "\u0660\u0664";
}

void TestReportSaver::dateStamp()
{
    QFETCH(QDateTime, moment);
    QFETCH(QLocale, locale);
    QTEST(::dateStamp(moment, locale), "stamp");
}

QString TestReportSaver::writeListingTool(int entries)
{
    return m_tools.printing(ListingBuilder().addGenerated(entries).listing());
}

void TestReportSaver::emptyCatalogueOpensNoPanel()
{
    Appexer appexer(QString{});
    FakeSavePanel panel;
    FakeAlert alert;
    ReportSaver::saveAsRTF(appexer, panel, alert);
    QVERIFY(panel.completions.isEmpty());
    QVERIFY(alert.details.isEmpty());
}

void TestReportSaver::proposesNameFromTheCatalogueDate()
{
    Appexer appexer(writeListingTool(2));
    QVERIFY(appexer.getAppexes(SortCode::SDK));
    FakeSavePanel panel;
    FakeAlert alert;
    ReportSaver::saveAsRTF(appexer, panel, alert);
    ReportSaver::saveAsRTF(appexer, panel, alert);
    const QString expected = QStringLiteral("Zephlist%1.text").arg(::dateStamp(appexer.theDate()));
    QCOMPARE(panel.proposedNames, QStringList({expected, expected}));
}

void TestReportSaver::endings_data()
{
    QTest::addColumn<SavePanel::Response>("response");
    QTest::addColumn<bool>("withLocation");
    QTest::addColumn<bool>("written");

    QTest::newRow("cancelled") << SavePanel::Response::Cancel << true << false;
    QTest::newRow("no location") << SavePanel::Response::OK << false << false;
    QTest::newRow("written") << SavePanel::Response::OK << true << true;
}

void TestReportSaver::endings()
{
    QFETCH(SavePanel::Response, response);
    QFETCH(bool, withLocation);
    QFETCH(bool, written);

    Appexer appexer(writeListingTool(3));
    QVERIFY(appexer.getAppexes(SortCode::Name));
    FakeSavePanel panel;
    FakeAlert alert;
    ReportSaver::saveAsRTF(appexer, panel, alert);
    QCOMPARE(panel.completions.size(), 1);

    const QString location = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".rtf");
    panel.completions.first()(response, withLocation ? location : QString());
    QCOMPARE(QFile::exists(location), written);
    if (written)
        QCOMPARE(contentsOf(location), RtfEncoder::encode(composeReport(appexer.appexList())));
    QVERIFY(alert.details.isEmpty());
}

void TestReportSaver::replacesAnExistingFile()
{
    const QString location = m_dir.filePath(QStringLiteral("existing.rtf"));
    {
        QFile old(location);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    FakeAlert alert;
    ReportText report;
    report.append({u"new\n"}, ReportColour::Text);
    ReportSaver::writeReport(SavePanel::Response::OK, location, report, alert);
    QCOMPARE(contentsOf(location), RtfEncoder::encode(report));
    QVERIFY(alert.details.isEmpty());
}

void TestReportSaver::failedWriteShowsOneAlertEach()
{
    FakeAlert alert;
    ReportText report;
    report.append({u"x\n"}, ReportColour::Text);

    // The folder is gone: nothing to write into.
    const QString gone = m_dir.filePath(QStringLiteral("gone/report.rtf"));
    ReportSaver::writeReport(SavePanel::Response::OK, gone, report, alert);
    QCOMPARE(alert.details.size(), 1);
    QVERIFY2(alert.details[0].contains(gone), qPrintable(alert.details[0]));
    QVERIFY(!QFile::exists(gone));

    // The location is a folder: the folder and what it holds stay as they were.
    const QString folder = m_dir.filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/inside")));
    ReportSaver::writeReport(SavePanel::Response::OK, folder, report, alert);
    QCOMPARE(alert.details.size(), 2);
    QVERIFY(QFileInfo(folder + QStringLiteral("/inside")).isDir());
}

void TestReportSaver::reportIsComposedBeforeThePanelOpens()
{
    const QString tool = writeListingTool(4);
    Appexer appexer(tool);
    QVERIFY(appexer.getAppexes(SortCode::Name));
    const QByteArray expected = RtfEncoder::encode(composeReport(appexer.appexList()));
    FakeSavePanel panel;
    FakeAlert alert;
    ReportSaver::saveAsRTF(appexer, panel, alert);

    // A re-sort and a refresh to another listing while the panel is open.
    appexer.sortAppexList(SortCode::UUID);
    QVERIFY(QFile::remove(tool));
    QVERIFY(QFile::copy(writeListingTool(9), tool));
    QVERIFY(appexer.getAppexes(SortCode::SDK));
    QCOMPARE(appexer.appexList().size(), 9);

    const QString location = m_dir.filePath(QStringLiteral("composed.rtf"));
    panel.completions.first()(SavePanel::Response::OK, location);
    QCOMPARE(contentsOf(location), expected);
}

QTEST_GUILESS_MAIN(TestReportSaver)
#include "tst_reportsaver.moc"
