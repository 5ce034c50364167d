#include "golden.h"
#include "listingcomparison.h"
#include "listingparser.h"
#include "recordformat.h"

#include <QTest>

class TestListingComparison : public QObject
{
    Q_OBJECT

private slots:
    void comparison();
};

void TestListingComparison::comparison()
{
    const AppexList older = parseListing(readTestData("listings/older.txt"));
    const AppexList newer = parseListing(readTestData("listings/newer.txt"));
    COMPARE_GOLDEN(RecordFormat::json(compareListings(older, newer)), "listings/changes.json");
    QVERIFY(compareListings(newer, newer).isEmpty());
}

QTEST_GUILESS_MAIN(TestListingComparison)
#include "tst_listingcomparison.moc"
