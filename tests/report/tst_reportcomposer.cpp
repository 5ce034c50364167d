#include "reportpieces.h"

#include <QTest>

namespace {

Appex record(const QString &sdk, const QString &name, const QString &path,
             const QString &parentName, const QString &parentPath, const QString &uuid)
{
    Appex r;
    r.setText(AppexField::SDK, sdk);
    r.setText(AppexField::Name, name);
    r.setText(AppexField::Path, path);
    r.setText(AppexField::ParentName, parentName);
    r.setText(AppexField::ParentPath, parentPath);
    r.setText(AppexField::Uuid, uuid);
    return r;
}

} // namespace

class TestReportComposer : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void recordsInListOrder();
};

void TestReportComposer::lines_data()
{
    QTest::addColumn<Appex>("record");
    QTest::addColumn<ReportPieces>("runs");

    using C = ReportColour;
    const QString m = parentMarker;
    QTest::newRow("every field: six runs")
        << record("kind", "Share", "/A/S.appex", "Notes", "/A", "5D2C")
        << ReportPieces{{"kind ", C::Blue},      {"Share ", C::Text}, {"/A/S.appex ", C::Green},
                        {m + "Notes ", C::Text}, {"/A ", C::Red},     {"5D2C\n", C::Text}};
    QTest::newRow("no parent name: parent path left out")
        << record("kind", "Share", "/A/S.appex", "", "/A", "5D2C")
        << ReportPieces{{"kind ", C::Blue},
                        {"Share ", C::Text},
                        {"/A/S.appex ", C::Green},
                        {"5D2C\n", C::Text}};
    QTest::newRow("parent name without path: a red space")
        << record("kind", "Share", "/p", "Notes", "", "1")
        << ReportPieces{{"kind ", C::Blue},      {"Share ", C::Text}, {"/p ", C::Green},
                        {m + "Notes ", C::Text}, {" ", C::Red},       {"1\n", C::Text}};
    QTest::newRow("empty fields keep their runs")
        << record("", "", "", "", "", "1")
        << ReportPieces{{" ", C::Blue}, {" ", C::Text}, {" ", C::Green}, {"1\n", C::Text}};
    QTest::newRow("values as stored")
        << record(" a\t", "{x}", "\\", "", "", " u ")
        << ReportPieces{
               {" a\t ", C::Blue}, {"{x} ", C::Text}, {"\\ ", C::Green}, {" u \n", C::Text}};
}

void TestReportComposer::lines()
{
    QFETCH(Appex, record);
    QTEST(piecesOf(composeReport({record})), "runs");
}

void TestReportComposer::recordsInListOrder()
{
    const Appex a = record("s", "a", "/a", "", "", "1");
    const Appex b = record("s", "b", "/b", "", "", "2");
    const ReportPieces report = piecesOf(composeReport({b, a, b}));
    QCOMPARE(report.size(), 12);
    QCOMPARE(report[1].first, QStringLiteral("b "));
    QCOMPARE(report[5].first, QStringLiteral("a "));
    QCOMPARE(report.mid(0, 4), report.mid(8, 4));
    QVERIFY(composeReport({}).text().isEmpty());
}

QTEST_GUILESS_MAIN(TestReportComposer)
#include "tst_reportcomposer.moc"
