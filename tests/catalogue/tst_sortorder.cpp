#include "sortorder.h"

#include <QTest>

namespace {

// Records written as "SDK|name|parentName|uuid".
AppexList recordsOf(const QStringList &entries)
{
    AppexList records;
    for (const QString &entry : entries) {
        const QStringList fields = entry.split(u'|');
        Appex record;
        record.setText(AppexField::SDK, fields[0]);
        record.setText(AppexField::Name, fields[1]);
        record.setText(AppexField::ParentName, fields[2]);
        record.setText(AppexField::Uuid, fields[3]);
        records << record;
    }
    return records;
}

QStringList namesOf(const AppexList &records)
{
    QStringList names;
    for (const Appex &record : records)
        names << record.name();
    return names;
}

AppexList sorted(AppexList records, qint64 sortCode)
{
    SortOrder::apply(records, SortOrder::order(records, sortCodeFrom(sortCode)));
    return records;
}

} // namespace

class TestSortOrder : public QObject
{
    Q_OBJECT

private slots:
    void orders_data();
    void orders();
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
    QTest::newRow("a longer key after its prefix, past eight bytes")
        << QStringList{"s|abcdefghij||1", "s|abcdefgh||2", "s|abcdefghi||3"} << qint64(3)
        << QStringList{"abcdefgh", "abcdefghi", "abcdefghij"};
}

void TestSortOrder::orders()
{
    QFETCH(QStringList, entries);
    QFETCH(qint64, sortCode);
    const AppexList once = sorted(recordsOf(entries), sortCode);
    QTEST(namesOf(once), "names");
    QTEST(namesOf(sorted(once, sortCode)), "names"); // sorting again changes nothing
}

QTEST_GUILESS_MAIN(TestSortOrder)
#include "tst_sortorder.moc"
