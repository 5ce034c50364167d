#include "appex.h"
#include "listingparser.h"

#include <QSet>
#include <QTest>

class TestAppex : public QObject
{
    Q_OBJECT

private slots:
    void copyTextOrdersFieldsWithTabs_data();
    void copyTextOrdersFieldsWithTabs();
    void identitiesAreFreshVersion4Uuids();
    void copiesAreIndependent();
};

void TestAppex::copyTextOrdersFieldsWithTabs_data()
{
    QTest::addColumn<QString>("listing");
    QTest::addColumn<QString>("copyText");

    QTest::newRow("every field")
        << QStringLiteral("Display Name = Notes Share\nPath = /A/Share.appex\n"
                          "Parent Name = Notes\nParent Bundle = /A\n"
                          "SDK = com.apple.sample-kind\nUUID = 5D2C")
        << QStringLiteral("Notes Share\t/A/Share.appex\tNotes\t/A\tsample-kind\t5D2C");
    QTest::newRow("only a UUID line")
        << QStringLiteral("UUID = X") << QStringLiteral("\t\t\t\t[no SDK]\tX");
    QTest::newRow("tab inside a value is kept") << QStringLiteral("Display Name = a\tb\nUUID = 1")
                                                << QStringLiteral("a\tb\t\t\t\t[no SDK]\t1");
}

void TestAppex::copyTextOrdersFieldsWithTabs()
{
    QFETCH(QString, listing);
    const AppexList records = parseListing(listing);
    QCOMPARE(records.size(), 1);
    QTEST(records.first().copyText(), "copyText");
}

void TestAppex::identitiesAreFreshVersion4Uuids()
{
    QSet<QUuid> seen;
    for (int i = 0; i < 10000; ++i) {
        const Appex record;
        QCOMPARE(record.id().version(), QUuid::Random);
        QCOMPARE(record.id().variant(), QUuid::DCE);
        seen.insert(record.id());
    }
    QCOMPARE(seen.size(), 10000);
}

void TestAppex::copiesAreIndependent()
{
    Appex original;
    original.name = QStringLiteral("first");
    Appex copy = original;
    copy.name = QStringLiteral("second");
    QCOMPARE(original.name, QStringLiteral("first"));
    QCOMPARE(copy.id(), original.id());
}

QTEST_GUILESS_MAIN(TestAppex)
#include "tst_appex.moc"
