#include "uuidsearch.h"

#include <QTest>

namespace {

Appex recordWith(const QString &uuid, const QString &name = QStringLiteral("Name AB12"))
{
    Appex record;
    record.uuid = uuid;
    record.name = name;
    record.path = QStringLiteral("/ab12/Path.appex");
    record.SDK = QStringLiteral("ab12-kind");
    return record;
}

} // namespace

class TestUuidSearch : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
};

void TestUuidSearch::matches_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("uuid");
    QTest::addColumn<bool>("match");

    QTest::newRow("lower query, upper UUID") << "ab12"
                                             << "6C1F-AB12-9F3C" << true;
    QTest::newRow("upper query, lower UUID") << "AB12"
                                             << "6c1f-ab12" << true;

    QTest::newRow("not contiguous") << "a2"
                                    << "AB12" << false;
    QTest::newRow("empty query matches nothing") << ""
                                                 << "AB12" << false;
    QTest::newRow("query only in other fields") << "name"
                                                << "0000" << false;
    QTest::newRow("leading blank must be in the UUID") << " ab"
                                                       << "AB12" << false;
    QTest::newRow("leading blank found") << " ab"
                                         << "x AB12" << true;
    QTest::newRow("no wildcards") << "a*2"
                                  << "AB12" << false;

    QTest::newRow("Kelvin sign in the UUID lower-cases to k") << "k1"
                                                              << "\u212A1" << true;
    QTest::newRow("canonically equivalent") << "e\u0301"
                                            << "CAF\u00C9" << true;
    QTest::newRow("not diacritic-insensitive") << "e"
                                               << "CAF\u00C9" << false;
    QTest::newRow("non-ASCII query") << "\u00FC"
                                     << "X\u00DCY" << true;
}

void TestUuidSearch::matches()
{
    QFETCH(QString, query);
    QFETCH(QString, uuid);
    QTEST(UuidSearch(query).matches(recordWith(uuid)), "match");
}

QTEST_GUILESS_MAIN(TestUuidSearch)
#include "tst_uuidsearch.moc"
