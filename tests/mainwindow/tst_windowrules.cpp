#include "datestamp.h"
#include "windowrules.h"

#include <QTest>

namespace {

Appex record(AppexElection election, const QString &path = QStringLiteral("/A/X.appex"),
             std::optional<bool> active = std::nullopt)
{
    Appex made;
    made.setText(AppexField::Uuid, u"U1");
    made.setActive(active);
    made.setText(AppexField::Identifier, u"com.example.X");
    made.setText(AppexField::Path, path);
    made.setElection(election);
    return made;
}

} // namespace

class TestWindowRules : public QObject
{
    Q_OBJECT

private slots:
    void title();
    void commandsFor_data();
    void commandsFor();
    void keptWithin_data();
    void keptWithin();
    void droppedFile();
    void countsAreApartAndInTheLocalesDigits();
};

void TestWindowRules::title()
{
    const QDateTime start(QDate(2001, 2, 3), QTime(4, 5));
    QCOMPARE(WindowRules::title({}, false, start), QStringLiteral("Zephlist"));
    QCOMPARE(WindowRules::title({}, true, start), "Zephlist " + dateStamp(start));
    QCOMPARE(WindowRules::title("/tmp/a/old.txt", true, start),
             QStringLiteral("Zephlist \u2014 old.txt"));
    // A kept listing by when it was kept, in the user's time and locale, not
    // by its file's name; saved, by the same date stamp as the tool's.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const QDateTime kept(QDate(2026, 12, 8), QTime(17, 32, 5));
    const QString file =
        "/h/" + kept.toUTC().toString("yyyyMMdd'T'HHmmss.zzz") + "Z-4711-000003.listing";
    QCOMPARE(WindowRules::title(file, true, start),
             QStringLiteral("Zephlist \u2014 Listing of 08/12/2026 17:32"));
    QLocale::setDefault(QLocale::system());
    QCOMPARE(WindowRules::proposedListingName(file, start),
             "Zephlist listing " + dateStamp(kept) + ".txt");
    QCOMPARE(WindowRules::proposedListingName("/tmp/a/old.txt", start), "old.txt");
}

void TestWindowRules::commandsFor_data()
{
    using Commands = WindowRules::Commands;
    QTest::addColumn<Appex>("record");
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<Commands>("commands");
    QTest::newRow("in use") << record(AppexElection::Use) << int(AppexChange::Unchanged) << false
                            << false << Commands{true, false, true, true, false, false, true};
    QTest::newRow("ignored") << record(AppexElection::Ignore) << int(AppexChange::Changed) << false
                             << false << Commands{true, true, false, true, false, false, true};
    QTest::newRow("removed since") << record(AppexElection::Use) << int(AppexChange::Removed)
                                   << false << false << Commands{true, false, false, false};
    QTest::newRow("from a file") << record(AppexElection::Use) << int(AppexChange::Unchanged)
                                 << true << false << Commands{true, false, false, false};
    QTest::newRow("inactive copy")
        << record(AppexElection::Use, "/A/X.appex", false) << int(AppexChange::Unchanged) << false
        << false << Commands{true, false, true, true, true, false, true};
    QTest::newRow("active copy") << record(AppexElection::Use, "/A/X.appex", true)
                                 << int(AppexChange::Unchanged) << false << false
                                 << Commands{true, false, true, true, false, true, true};
    QTest::newRow("copy from a file")
        << record(AppexElection::Use, "/A/X.appex", false) << int(AppexChange::Unchanged) << true
        << false << Commands{true, false, false, false};
    QTest::newRow("busy, no path") << record(AppexElection::Use, {}) << int(AppexChange::Unchanged)
                                   << false << true << Commands{};
}

void TestWindowRules::commandsFor()
{
    QFETCH(Appex, record);
    QFETCH(int, change);
    QFETCH(bool, fromFile);
    QFETCH(bool, busy);
    QTEST(WindowRules::commandsFor(&record, AppexChange(change), fromFile, busy), "commands");
    QVERIFY(WindowRules::commandsFor(nullptr, AppexChange(change), fromFile, busy) ==
            WindowRules::Commands{});
}

void TestWindowRules::keptWithin_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("kept");
    // The screen's available area: (0, 30) to (1279, 799).
    QTest::newRow("inside") << QRect(100, 100, 600, 400) << QRect(100, 100, 600, 400);
    QTest::newRow("status bar below") << QRect(100, 600, 600, 400) << QRect(100, 400, 600, 400);
    QTest::newRow("left and above") << QRect(-50, 0, 600, 400) << QRect(0, 30, 600, 400);
    QTest::newRow("larger") << QRect(10, 10, 2000, 900) << QRect(0, 30, 1280, 770);
}

void TestWindowRules::keptWithin()
{
    QFETCH(QRect, frame);
    QTEST(WindowRules::keptWithin(frame, QRect(0, 30, 1280, 770)), "kept");
}

void TestWindowRules::droppedFile()
{
    const QUrl file = QUrl::fromLocalFile("/tmp/a.txt");
    QCOMPARE(WindowRules::droppedFile({file}), QStringLiteral("/tmp/a.txt"));
    QVERIFY(WindowRules::droppedFile({file, file}).isEmpty());
    QVERIFY(WindowRules::droppedFile({QUrl("https://example.com/a.txt")}).isEmpty());
}

void TestWindowRules::countsAreApartAndInTheLocalesDigits()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(WindowRules::countsText(4, 40), QStringLiteral("4 with problems \u00b7 40 matches"));
    QCOMPARE(WindowRules::countsText(0, 1), QStringLiteral("1 match"));
    QCOMPARE(WindowRules::countsText(1234, std::nullopt), QStringLiteral("1,234 with problems"));
    QVERIFY(WindowRules::countsText(0, std::nullopt).isEmpty());
    QCOMPARE(WindowRules::countText(100000), QStringLiteral("100,000 appexes"));
    QCOMPARE(WindowRules::shownCountText(40, 1472), QStringLiteral("40 of 1,472"));
    QCOMPARE(WindowRules::changeSummary(1000, 2, 0),
             QStringLiteral("1,000 added \u00b7 2 changed \u00b7 0 removed"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(WindowRules::countText(100000), QStringLiteral("100.000 appexes"));
    QLocale::setDefault(before);
}

QTEST_GUILESS_MAIN(TestWindowRules)
#include "tst_windowrules.moc"
