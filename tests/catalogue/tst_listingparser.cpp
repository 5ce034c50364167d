#include "appexfield.h"
#include "golden.h"
#include "listingcomparison.h"

#include "listingparser.h"
#include "recordformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

// Each listing in tests/data/listings parses to the records of the JSON file
// of the same name, field by field and in listing order.
class TestListingParser : public QObject
{
    Q_OBJECT

private slots:
    void listings_data();
    void listings();
    void cutOff_data();
    void cutOff();
};

void TestListingParser::listings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("captured"); // read as a captured listing, whose CRs end lines
    for (const char *name :
         {"rules", "headers", "oneline", "minusm", "pastes", "cutoff", "paths", "older", "newer"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    QTest::newRow("lineends") << QStringLiteral("lineends") << true;
}

namespace {

struct Reading
{
    bool captured = false;
    bool keepsListing = true;
    qsizetype pieceSize = 0; // the whole text at once when 0
};

// The records, as JSON, of `listing` read so; of a parser that keeps only the
// records but holds a listing, a text that says so.
QByteArray parsed(QByteArrayView listing, Reading reading)
{
    ListingParser parser;
    parser.setCrlfLineEnds(reading.captured);
    parser.setKeepsListing(reading.keepsListing);
    const qsizetype size = reading.pieceSize > 0 ? reading.pieceSize : listing.size();
    for (qsizetype at = 0; at < listing.size(); at += size)
        parser.addBytes(listing.sliced(at, std::min(size, listing.size() - at)));
    const AppexList records = parser.finish();
    if (!reading.keepsListing && !parser.listing().isEmpty())
        return "a listing kept with only the records asked for";
    return RecordFormat::json(records);
}

} // namespace

void TestListingParser::listings()
{
    QFETCH(QString, name);
    QFETCH(bool, captured);
    const QByteArray listing = readTestData("listings/" + name + ".txt");
    const QByteArray records = parsed(listing, {captured});
    if (name != u"older" && name != u"newer")
        COMPARE_GOLDEN(records, "listings/" + name + ".json");

    // The same records with only they kept, the lines let go as they are read.
    QCOMPARE(parsed(listing, {captured, false, 7}), records);

    // The same in pieces of any size, split anywhere.
    for (const qsizetype size : {1, 2, 3, 7, 64})
        QCOMPARE(parsed(listing, {captured, true, size}), records);
    if (captured)
        return;

    // Read as captured, the same records, unless CR LF stood in the tool's
    // listing as text: it is a line end then. And the same with every line
    // ended by CR LF, a lone CR, or CR CR LF, in pieces that split some of
    // them, or every one.
    const QByteArray capturedRecords = parsed(listing, {true});
    if (!listing.contains("\r\n"))
        QCOMPARE(capturedRecords, records);
    const QByteArray lines = QByteArray(listing).replace("\r\n", "\n");
    for (const char *lineEnd : {"\r\n", "\r", "\r\r\n"}) {
        const QByteArray ended = QByteArray(lines).replace("\n", lineEnd);
        for (const bool keepsListing : {true, false}) {
            for (const qsizetype size : {1, 7})
                QCOMPARE(parsed(ended, {true, keepsListing, size}), capturedRecords);
        }
    }
}

// Only the last block can be cut off, and it is kept when it names its copy.
void TestListingParser::cutOff_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QStringList>("uuids"); // of the records
    QTest::addColumn<bool>("lastIncomplete");

    const QByteArray whole = "+    com.example.A(1)\n\tPath = /A.appex\n\tUUID = A\n\n";
    const QByteArray header = "+    com.example.B(2)\n";
    QTest::newRow("before its UUID")
        << whole + header + "\tPath = /B.appex\n\tUU" << QStringList{"A", ""} << true;
    QTest::newRow("a header alone, no cut line: no record")
        << whole + header << QStringList{"A"} << false;
    QTest::newRow("before its UUID, the only block, with keys")
        << header + "\tPath = /B.appex\n\tUU" << QStringList{""} << true;
    QTest::newRow("a key without a value, a line end after it")
        << whole + header + "\tUUID = B\n\tDisplay Name = \n"
        << QStringList{"A", "B"} << true;
    QTest::newRow("white space after the cut line")
        << whole + header + "\tUUID = B\n\tParent Na\n  \t" << QStringList{"A", "B"} << true;
    QTest::newRow("a blank line after it: whole") << whole + header + "\tUUID = B\n\tParent Na\n\n"
                                                  << QStringList{"A", "B"} << false;
    QTest::newRow("a last key with a value: whole")
        << whole + header + "\tUUID = B\n\tPlatform = macOS" << QStringList{"A", "B"} << false;
    QTest::newRow("naming no copy")
        << whole + "\tPath = /B.appex\n\tUU" << QStringList{"A"} << false;
    QTest::newRow("a line per copy")
        << QByteArray("+    com.example.A(1)\n+    com.example.B(2)\n+    com.ex")
        << QStringList{"", ""} << false;
}

void TestListingParser::cutOff()
{
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, uuids);
    QFETCH(bool, lastIncomplete);
    // The same captured with lone CRs, of which the last ones the text's end
    // tells apart.
    ListingParser captured;
    captured.setCrlfLineEnds(true);
    captured.addBytes(QByteArray(listing).replace('\n', '\r'));
    for (const AppexList &records : {parseListing(listing), captured.finish()}) {
        QStringList parsedUuids;
        for (const Appex &record : records)
            parsedUuids << record.uuid();
        QCOMPARE(parsedUuids, uuids);
        for (qsizetype i = 0; i < records.size(); ++i)
            QCOMPARE(records[i].problems().testFlag(AppexProblem::Incomplete),
                     lastIncomplete && i + 1 == records.size());
    }
}

QTEST_GUILESS_MAIN(TestListingParser)
#include "tst_listingparser.moc"
