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
    void comparison();
    void jsonIsQJsonDocuments();
    void copyText();
    void tsvEscapesAsItsPlainTwin();
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

void TestListingParser::comparison()
{
    const AppexList older = parseListing(readTestData("listings/older.txt"));
    const AppexList newer = parseListing(readTestData("listings/newer.txt"));
    COMPARE_GOLDEN(RecordFormat::json(compareListings(older, newer)), "listings/changes.json");
    QVERIFY(compareListings(newer, newer).isEmpty());
}

void TestListingParser::jsonIsQJsonDocuments()
{
    Appex record;
    QString name;
    for (char16_t c = 0; c < 0x80; ++c)
        name += QChar(c);
    record.setText(AppexField::Name, name);
    record.setText(AppexField::Path, u"\u00e9\u2028\U0001F3B5x");
    record.setElection(AppexElection::Superseded);
    record.setText(AppexField::Point, u"com.apple.FinderSync");
    record.setCopies(2);
    const auto objectOf = [](const Appex &appex, const QJsonValue &active,
                             const QJsonArray &problems) {
        QJsonObject object;
        for (const AppexFieldInfo &field : appexFields)
            object.insert(field.jsonKey, appex.text(field.field));
        object.insert("category", appex.category());
        object.insert("copies", appex.copies());
        object.insert("active", active);
        object.insert("problems", problems);
        return object;
    };
    Appex inactive = record;
    inactive.setActive(false);
    inactive.setProblems(AppexProblem::Inactive | AppexProblem::Duplicate);
    QCOMPARE(RecordFormat::json({record, inactive}),
             QJsonDocument(QJsonArray{objectOf(record, QJsonValue::Null, {}),
                                      objectOf(inactive, false, {"duplicate", "inactive"})})
                 .toJson(QJsonDocument::Indented));
    QCOMPARE(RecordFormat::json(AppexList()), QByteArray("[\n]\n"));
}

void TestListingParser::copyText()
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

// TSV is each record's copy text with its values escaped byte by byte: the
// writer's quick look for plain lines misses no byte, wherever it lies.
void TestListingParser::tsvEscapesAsItsPlainTwin()
{
    const auto escaped = [](QByteArrayView value) {
        QByteArray out;
        for (const char c : value) {
            const QByteArray named = c == '\t'   ? "\\t"
                                     : c == '\n' ? "\\n"
                                     : c == '\r' ? "\\r"
                                     : c == '\\' ? "\\\\"
                                                 : "";
            if (!named.isEmpty())
                out += named;
            else if (uchar(c) < 0x20 || c == 0x7f)
                out += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
        return out;
    };
    // Mostly plain text, so that many lines need no escape and the others
    // one or two, anywhere in a line of any length.
    const QString rare = QStringLiteral("\t\n\r\\\x1b\x1f\x7f \u00e9\u2713") + QChar(0);
    QRandomGenerator random(7);
    AppexList records;
    QByteArray expected;
    for (int i = 0; i < 1000; ++i) {
        Appex record;
        QByteArrayList values;
        for (const AppexField field : copyFields) {
            QString text;
            for (int length = random.bounded(40); length > 0; --length)
                text += random.bounded(150) == 0 ? rare[random.bounded(rare.size())]
                                                 : QChar(u'a' + random.bounded(26));
            record.setText(field, text);
            values << escaped(record.bytes(field));
        }
        records << record;
        expected += values.join('\t') + '\n';
    }
    QByteArray tsv;
    QVERIFY(RecordFormat::writeTsv(records, [&tsv](QByteArrayView piece) {
        tsv += piece;
        return true;
    }));
    QCOMPARE(tsv, expected);
}

QTEST_GUILESS_MAIN(TestListingParser)
#include "tst_listingparser.moc"
