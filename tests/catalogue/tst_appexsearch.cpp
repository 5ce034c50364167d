#include "appexsearch.h"
#include "searchindex.h"

#include <QTest>

namespace {

// A record whose UUID is `uuid`, with "ab12" and "x" in the other fields that
// the search reads, and "zz" in those it does not.
Appex recordWith(const QString &uuid)
{
    Appex record;
    record.setText(AppexField::Uuid, uuid);
    record.setText(AppexField::Name, QStringLiteral("Name AB12"));
    record.setText(AppexField::Path, QStringLiteral("/p/Path.appex"));
    record.setText(AppexField::SDK, QStringLiteral("kind"));
    record.setText(AppexField::ParentName, QStringLiteral("Parent"));
    record.setText(AppexField::ParentPath, QStringLiteral("/Applications/Parent.app"));
    record.setText(AppexField::Identifier, QStringLiteral("com.example.x"));
    record.setText(AppexField::Version, QStringLiteral("zz1"));
    record.setElection(AppexElection::Ignore);
    return record;
}

} // namespace

class TestAppexSearch : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
};

void TestAppexSearch::matches_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("uuid");
    QTest::addColumn<bool>("match");
    QTest::addColumn<bool>("matchAll"); // in any field

    QTest::newRow("lower query, upper UUID") << "6c1f"
                                             << "6C1F-AB12-9F3C" << true << true;
    QTest::newRow("upper query, lower UUID") << "6C1F"
                                             << "6c1f-ab12" << true << true;
    QTest::newRow("not contiguous") << "61"
                                    << "6C1F" << false << false;
    QTest::newRow("empty query matches nothing") << ""
                                                 << "AB12" << false << false;
    QTest::newRow("a name") << "name a"
                            << "0000" << false << true;
    QTest::newRow("a path") << "/P/PATH"
                            << "0000" << false << true;
    QTest::newRow("an SDK") << "KIND"
                            << "0000" << false << true;
    QTest::newRow("a parent name") << "parent"
                                   << "0000" << false << true;
    QTest::newRow("a parent path") << "applications/"
                                   << "0000" << false << true;
    QTest::newRow("an identifier") << "example.x"
                                   << "0000" << false << true;
    QTest::newRow("version and election are not searched") << "zz1"
                                                           << "0000" << false << false;
    QTest::newRow("not across fields") << "ab12/"
                                       << "0000" << false << false;
    QTest::newRow("leading blank must be in the UUID") << " 6c"
                                                       << "6C12" << false << false;
    QTest::newRow("leading blank found") << " 6c"
                                         << "x 6C12" << true << true;
    QTest::newRow("no wildcards") << "6*2"
                                  << "6C12" << false << false;
    QTest::newRow("Kelvin sign in the UUID lower-cases to k") << "k1"
                                                              << "\u212A1" << true << true;
    QTest::newRow("canonically equivalent") << "e\u0301"
                                            << "CAF\u00C9" << true << true;
    QTest::newRow("a combining mark joins the letter before") << "cafe"
                                                              << "CAFE\u0301" << false << false;
    QTest::newRow("not diacritic-insensitive") << "0e"
                                               << "0CAF\u00C9" << false << false;
    QTest::newRow("non-ASCII query") << "\u00FC"
                                     << "X\u00DCY" << true << true;
    QTest::newRow("a line feed matches nothing") << "x\nother"
                                                 << "0000" << false << false;
}

void TestAppexSearch::matches()
{
    QFETCH(QString, query);
    QFETCH(QString, uuid);
    QTEST(AppexSearch(query).matches(recordWith(uuid)), "match");
    QTEST(AppexSearch(query, AppexSearch::Scope::AllFields).matches(recordWith(uuid)), "matchAll");

    // The window's index gives the same answers, in a row among others.
    const AppexList records{recordWith("other"), recordWith(uuid), recordWith("other")};
    SearchIndex index;
    const std::vector<qsizetype> keys{2, 0, 1}; // the records' keys, in another order
    QVERIFY(!index.build(SearchIndex::Part::OtherFields, records, keys, 2)); // too large
    QVERIFY(!index.has(SearchIndex::Part::OtherFields));
    QVERIFY(index.build(SearchIndex::Part::Uuids, records, keys));
    QVERIFY(index.build(SearchIndex::Part::OtherFields, records, keys));

    QTEST(bool(index.matching(AppexSearch(query))[0]), "match");
    QTEST(bool(index.matching(AppexSearch(query, AppexSearch::Scope::AllFields))[0]), "matchAll");
}

QTEST_GUILESS_MAIN(TestAppexSearch)
#include "tst_appexsearch.moc"
