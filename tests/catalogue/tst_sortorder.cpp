#include "appexer.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Entries are "SDK|name|parentName|uuid"; the SDK is written behind "com.apple.".
QByteArray listingOf(const QStringList &entries)
{
    QByteArray listing;
    for (const QString &entry : entries) {
        const QStringList f = entry.split(u'|');
        listing += QStringLiteral("x\n SDK = com.apple.%1\n Display Name = %2\n Parent Name = %3\n"
                                  " UUID = %4\n\n")
                       .arg(f[0], f[1], f[2], f[3])
                       .toUtf8();
    }
    return listing;
}

QStringList column(const AppexList &records, QString Appex::*field)
{
    QStringList values;
    for (const Appex &record : records)
        values << record.*field;
    return values;
}

} // namespace

class TestSortOrder : public QObject
{
    Q_OBJECT

private slots:
    void orders_data();
    void orders();
    void passesAreAnnounced();
    void uuidSortAfterNameSortKeepsNameOrderOfTies();
};

void TestSortOrder::orders_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<qint64>("sortCode");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("name ignores case, ties keep listing order")
        << QStringList{"s|beta||1", "s|Alpha||2", "s|alpha||3"} << qint64(3)
        << QStringList{"Alpha", "alpha", "beta"};
    QTest::newRow("UUID respects case") << QStringList{"s|b1||b1", "s|A2||A2", "s|a1||a1"}
                                        << qint64(2) << QStringList{"A2", "a1", "b1"};
    QTest::newRow("UUID has no numeric order")
        << QStringList{"s|A9||A9", "s|A10||A10"} << qint64(2) << QStringList{"A10", "A9"};
    const QStringList sdkEntries{"widget-x|Zeta||1", "Widget-X|alpha||2", "share-y|Beta||3"};
    const QStringList sdkOrder{"Beta", "alpha", "Zeta"};
    QTest::newRow("SDK, then name") << sdkEntries << qint64(0) << sdkOrder;
    QTest::newRow("code 4 sorts as SDK") << sdkEntries << qint64(4) << sdkOrder;
    QTest::newRow("code 99 sorts as SDK") << sdkEntries << qint64(99) << sdkOrder;
    QTest::newRow("code -1 sorts as SDK") << sdkEntries << qint64(-1) << sdkOrder;
    QTest::newRow("code beyond 32 bits sorts as SDK")
        << sdkEntries << qint64(0x100000003) << sdkOrder;
    QTest::newRow("empty SDK first")
        << QStringList{"b|x||1", "|y||2"} << qint64(0) << QStringList{"y", "x"};
    QTest::newRow("parent, empty parent first, then by name")
        << QStringList{"s|d|Mail|1", "s|c||2", "s|b|mail|3", "s|a||4"} << qint64(1)
        << QStringList{"a", "c", "b", "d"};
    QTest::newRow("normalisation-equivalent names are ties")
        << QStringList{"s|e\u0301||1", "s|\u00E9||2", "s|E\u0301||3"} << qint64(3)
        << QStringList{"e\u0301", "\u00E9", "E\u0301"};
    QTest::newRow("scalar order, not UTF-16 order")
        << QStringList{"s|\U0001F3B5||1", "s|\uFFFD||2", "s|z||3"} << qint64(3)
        << QStringList{"z", "\uFFFD", "\U0001F3B5"};
}

void TestSortOrder::orders()
{
    QFETCH(QStringList, entries);
    QFETCH(qint64, sortCode);

    Appexer appexer(QString{});
    QVERIFY(appexer.loadListing(listingOf(entries), sortCode));
    QTEST(column(appexer.appexList(), &Appex::name), "names");

    // Sorting a sorted list again changes nothing.
    appexer.sortAppexList(sortCode);
    QTEST(column(appexer.appexList(), &Appex::name), "names");
}

void TestSortOrder::passesAreAnnounced()
{
    Appexer appexer(QString{});
    QSignalSpy did(&appexer, &Appexer::appexListDidChange);
    QVERIFY(appexer.loadListing(listingOf({"s|n1||1"}), SortCode::Name));
    appexer.sortAppexList(SortCode::SDK); // one record: nothing to sort, nothing announced
    QCOMPARE(did.size(), 1);              // the append
    QVERIFY(appexer.loadListing(listingOf({"s|b||2", "s|a||1"}), SortCode::UUID));
    QCOMPARE(did.size(), 1 + 2 + 1);
    const QList<std::pair<qint64, int>> passes = {{0, 2}, {1, 2}, {2, 1}, {3, 1}, {7, 2}};
    for (const auto &[code, count] : passes) {
        did.clear();
        appexer.sortAppexList(code);
        QCOMPARE(did.size(), count);
    }
}

void TestSortOrder::uuidSortAfterNameSortKeepsNameOrderOfTies()
{
    Appexer appexer(QString{});
    QVERIFY(
        appexer.loadListing(listingOf({"s|c||same", "s|a||same", "s|b||same"}), SortCode::Name));
    appexer.sortAppexList(SortCode::UUID);
    QCOMPARE(column(appexer.appexList(), &Appex::name), QStringList({"a", "b", "c"}));
}

QTEST_GUILESS_MAIN(TestSortOrder)
#include "tst_sortorder.moc"
