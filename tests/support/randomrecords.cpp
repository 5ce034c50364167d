#include "randomrecords.h"

#include <QTest>

namespace {

const QStringList asciiPieces = {"a",  "A",  "b",  "B",    "k",    "1",    " ",  "-",     "/",
                                 "\"", "\\", "\t", "\x01", "\x1f", "\x7f", "ab", "com.x", "Name"};
const QStringList otherPieces = {"\u00e9",     "\u00c9",
                                 "e\u0301",    "E\u0301",
                                 "\u0301",     "\u212a" /* Kelvin sign */,
                                 "\u00df",     "\u0130" /* lower case: i and a combining dot */,
                                 "\uff21",     "\uff41",
                                 "\u00a0",     "\u2028",
                                 "\ufffd",     "\U00010400" /* lower case: U+10428 */,
                                 "\U00010428", "\U0001F3B5"};

const std::array<AppexField, 10> textFields = {
    AppexField::SDK,        AppexField::Name,     AppexField::Path,       AppexField::ParentPath,
    AppexField::ParentName, AppexField::Uuid,     AppexField::Identifier, AppexField::Version,
    AppexField::Point,      AppexField::Timestamp};

} // namespace

namespace RandomRecords {

QString text(QRandomGenerator &random, const QStringList &extraPieces)
{
    const bool asciiOnly = random.bounded(2) == 0;
    const QStringList pieces = (asciiOnly ? asciiPieces : asciiPieces + otherPieces) + extraPieces;
    QString text;
    for (int count = random.bounded(12); count > 0; --count)
        text += pieces[random.bounded(int(pieces.size()))];
    return text;
}

Appex record(QRandomGenerator &random, const QStringList &extraPieces)
{
    Appex record;
    for (const AppexField field : textFields) {
        if (field != AppexField::SDK || random.bounded(8) != 0) // else "[no SDK]"
            record.setText(field, text(random, extraPieces));
    }
    if (random.bounded(4) == 0) // a point with a category
        record.setText(AppexField::Point,
                       random.bounded(2) ? u"com.apple.FinderSync" : u"com.apple.Safari.extension");
    record.setElection(AppexElection(random.bounded(6)));
    record.setCopies(1 + random.bounded(3));
    record.setActive(random.bounded(3) == 0 ? std::nullopt
                                            : std::optional<bool>(random.bounded(2) == 0));
    record.setProblems(AppexProblems::fromInt(random.bounded(0x80)));
    return record;
}

AppexList records(QRandomGenerator &random, qsizetype count, const QStringList &extraPieces)
{
    AppexList records;
    for (qsizetype i = 0; i < count; ++i)
        records << record(random, extraPieces);
    return records;
}

void addSeeds(int count)
{
    QTest::addColumn<int>("seed");
    for (int seed = 0; seed < count; ++seed)
        QTest::addRow("seed %d", seed) << seed;
}

} // namespace RandomRecords
