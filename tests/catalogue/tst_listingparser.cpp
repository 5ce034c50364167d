#include "appexfield.h"
#include "golden.h"
#include "listingcomparison.h"

#include "listingparser.h"
#include "recordformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Each listing in tests/data/listings parses to the records of the JSON file
// of the same name, field by field and in listing order.
class TestListingParser : public QObject
{
    Q_OBJECT

private slots:
    void listings_data();
    void listings();
};

void TestListingParser::listings_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"rules", "headers", "oneline", "paths", "older", "newer"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

namespace {

// The records, as JSON, of `listing` fed to `parser` in pieces of `size` bytes.
QByteArray parsedInPieces(ListingParser &parser, QByteArrayView listing, qsizetype size)
{
    for (qsizetype at = 0; at < listing.size(); at += size)
        parser.addBytes(listing.sliced(at, std::min(size, listing.size() - at)));
    return RecordFormat::json(parser.finish());
}

} // namespace

void TestListingParser::listings()
{
    QFETCH(QString, name);
    const QByteArray listing = readTestData("listings/" + name + ".txt");
    const QByteArray records = RecordFormat::json(parseListing(listing));
    if (name != u"older" && name != u"newer")
        COMPARE_GOLDEN(records, "listings/" + name + ".json");

    // The same records with only they kept, the lines let go as they are read.
    ListingParser recordsOnly;
    recordsOnly.setKeepsListing(false);
    QCOMPARE(parsedInPieces(recordsOnly, listing, 7), records);
    QVERIFY(recordsOnly.listing().isEmpty());

    // The same in pieces of any size, split anywhere.
    for (const qsizetype size : {1, 2, 3, 7, 64}) {
        ListingParser parser;
        QCOMPARE(parsedInPieces(parser, listing, size), records);
    }

    // The same with every line ended by a carriage return too, for a parser
    // told so, in pieces that split some of the pairs.
    QByteArray crlf = listing;
    crlf.replace("\n", "\r\n");
    for (const bool keepsListing : {true, false}) {
        ListingParser parser;
        parser.setCrlfLineEnds(true);
        parser.setKeepsListing(keepsListing);
        QCOMPARE(parsedInPieces(parser, crlf, 7), records);
    }
}

QTEST_GUILESS_MAIN(TestListingParser)
#include "tst_listingparser.moc"
