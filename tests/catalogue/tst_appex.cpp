#include "listingparser.h"

#include <QTest>

class TestAppex : public QObject
{
    Q_OBJECT

private slots:
    void copyText();
};

void TestAppex::copyText()
{
    const AppexList records = parseListing("Display Name = Notes Share\nPath = /A/Share.appex\n"
                                           "Parent Name = Notes\nParent Bundle = /A\n"
                                           "SDK = com.apple.sample-kind\nUUID = 5D2C\n\n"
                                           "UUID = X\n\nDisplay Name = a\tb\nUUID = 1");
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].copyText(),
             QStringLiteral("Notes Share\t/A/Share.appex\tNotes\t/A\tsample-kind\t5D2C"));
    QCOMPARE(records[1].copyText(), QStringLiteral("\t\t\t\t[no SDK]\tX"));
    QCOMPARE(records[2].copyText(), QStringLiteral("a\tb\t\t\t\t[no SDK]\t1"));

    // A text set on a record that shares the listing's bytes leaves its
    // other texts, and the other records, as they were.
    AppexList changed = records;
    changed[0].setText(AppexField::Name, u"Renamed");
    QCOMPARE(changed[0].copyText(),
             QStringLiteral("Renamed\t/A/Share.appex\tNotes\t/A\tsample-kind\t5D2C"));
    QCOMPARE(changed[0].point(), QStringLiteral("com.apple.sample-kind"));
    QCOMPARE(changed[1].copyText(), records[1].copyText());
    QCOMPARE(records[0].name(), QStringLiteral("Notes Share"));

    // The clipboard keeps what TSV escapes.
    changed[1].setText(AppexField::Name, u"line\nfeed\\");
    QCOMPARE(changed[1].copyText(), QStringLiteral("line\nfeed\\\t\t\t\t[no SDK]\tX"));
}

QTEST_GUILESS_MAIN(TestAppex)
#include "tst_appex.moc"
