#include "appexer.h"
#include "datestamp.h"
#include "fakedialogs.h"
#include "golden.h"
#include "reportsaver.h"
#include "testcatalogue.h"
#include "version.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The report of listings/older.txt sorted by name, as the RTF file holds it
// with the version of the app that wrote it named "VERSION".
const QString olderByName = QStringLiteral("report/older-by-name.rtf");

QByteArray withoutVersion(QByteArray rtf)
{
    return rtf.replace("{\\*\\generator Zephlist " ZEPHLIST_VERSION ";}",
                       "{\\*\\generator Zephlist VERSION;}");
}

} // namespace

class TestReportSaver : public QObject
{
    Q_OBJECT

private slots:
    void dateStamp_data();
    void dateStamp();
    void endings_data();
    void endings();
    void reportIsComposedBeforeThePanelOpens();

private:
    QTemporaryDir m_dir;
};

void TestReportSaver::dateStamp_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("stamp");
    QTest::newRow("zero-padded") << QDateTime(QDate(2026, 1, 2), QTime(3, 4)) << QLocale::c()
                                 << "2026_01_02_03-04";
    QTest::newRow("24-hour clock")
        << QDateTime(QDate(2026, 12, 5), QTime(15, 30)) << QLocale::c() << "2026_12_05_15-30";
    QTest::newRow("the locale's digits")
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

void TestReportSaver::endings_data()
{
    QTest::addColumn<SavePanel::Response>("response");
    QTest::addColumn<QString>("location");  // in the test's folder; empty: the panel gave none
    QTest::addColumn<QByteArray>("before"); // the file's contents before, if any
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("alert");

    using R = SavePanel::Response;
    QTest::newRow("cancelled") << R::Cancel << "cancelled.rtf" << QByteArray() << false << "";
    QTest::newRow("no location") << R::OK << "" << QByteArray() << false << "";
    QTest::newRow("written") << R::OK << "new.rtf" << QByteArray() << true << "";
    QTest::newRow("replaces a file") << R::OK << "old.rtf" << QByteArray(100000, 'x') << true << "";
    QTest::newRow("folder gone") << R::OK << "gone/report.rtf" << QByteArray() << false
                                 << "No such file or directory";
    QTest::newRow("location is a folder")
        << R::OK << "folder" << QByteArray() << false << "directory";
    QTest::newRow("location is a FIFO")
        << R::OK << "fifo" << QByteArray() << false << "Not a regular file";
}

void TestReportSaver::endings()
{
    QFETCH(SavePanel::Response, response);
    QFETCH(QString, location);
    QFETCH(QByteArray, before);
    QFETCH(bool, written);
    QFETCH(QString, alert);

    const QString path = location.isEmpty() ? QString() : m_dir.filePath(location);
    if (!before.isEmpty()) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(before) == before.size());
    }
    if (location == QLatin1String("folder"))
        QVERIFY(QDir(m_dir.path()).mkdir(location));
    int fifoReader = -1; // so that a write to the FIFO would not wait
    if (location == QLatin1String("fifo") &&
        ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
        fifoReader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);

    TestCatalogue catalogue;
    Appexer &appexer = catalogue.model;
    QVERIFY(catalogue.loadListing(testDataPath("listings/older.txt"), SortCode::Name));
    FakeSavePanel panel;
    FakeAlert alerts;
    ReportSaver::saveAsRTF(appexer, panel, alerts);
    QCOMPARE(panel.completions.size(), 1);
    panel.completions.first()(response, path);

    if (fifoReader >= 0)
        ::close(fifoReader);
    QFile file(path);
    const bool isFile = QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
    QCOMPARE(isFile && goldenDifference(withoutVersion(file.readAll()), olderByName).isEmpty(),
             written);
    QCOMPARE(alerts.details.size(), alert.isEmpty() ? 0 : 1);
    if (!alert.isEmpty())
        QVERIFY2(alerts.details[0].contains(path) && alerts.details[0].contains(alert),
                 qPrintable(alerts.details[0]));
}

void TestReportSaver::reportIsComposedBeforeThePanelOpens()
{
    TestCatalogue catalogue;
    Appexer &appexer = catalogue.model;
    QVERIFY(catalogue.loadListing(testDataPath("listings/older.txt"), SortCode::Name));
    FakeSavePanel panel;
    FakeAlert alerts;
    ReportSaver::saveAsRTF(appexer, panel, alerts);

    // A re-sort and another listing while the panel is open.
    appexer.sortAppexList(SortCode::UUID);
    QVERIFY(catalogue.loadListing(testDataPath("listings/newer.txt"), SortCode::SDK));

    const QString location = m_dir.filePath(QStringLiteral("composed.rtf"));
    panel.completions.first()(SavePanel::Response::OK, location);
    QFile file(location);
    QVERIFY(file.open(QIODevice::ReadOnly));
    COMPARE_GOLDEN(withoutVersion(file.readAll()), olderByName);
}

QTEST_GUILESS_MAIN(TestReportSaver)
#include "tst_reportsaver.moc"
