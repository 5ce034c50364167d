#include "golden.h"
#include "listingcomparison.h"
#include "listingparser.h"
#include "recordformat.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <utility>

// A listing edited in known ways compares with its older self as exactly
// those edits, however many copies of an extension lie at one path: each
// copy pairs with itself by its UUID, so one gone or come moves no other's
// pair.
class TestListingComparison : public QObject
{
    Q_OBJECT

private slots:
    void comparison();
    void reportsExactlyTheEdits_data();
    void reportsExactlyTheEdits();
};

namespace {

// A change reported or made: the TSV's symbol and the record's UUID.
using Change = std::pair<QByteArray, QString>;

Change change(AppexChange change, const QString &uuid)
{
    return {changeSymbol(change).toByteArray(), uuid};
}

Appex copyOf(int extension, const QString &uuid)
{
    Appex record;
    record.setText(AppexField::Identifier, QStringLiteral("com.example.E%1").arg(extension));
    record.setText(AppexField::Path, QStringLiteral("/A/E%1.appex").arg(extension));
    record.setText(AppexField::Name, QStringLiteral("Copy ") + uuid);
    record.setText(AppexField::Version, QStringLiteral("1.0"));
    record.setText(AppexField::Uuid, uuid);
    return record;
}

} // namespace

void TestListingComparison::reportsExactlyTheEdits_data()
{
    QTest::addColumn<int>("copies"); // of each extension, all at one path
    QTest::newRow("one copy each") << 1;
    QTest::newRow("three copies each") << 3;
    QTest::newRow("forty copies each") << 40;
}

void TestListingComparison::reportsExactlyTheEdits()
{
    QFETCH(int, copies);
    QList<std::pair<int, Appex>> copiesOf; // the extension of each copy
    for (int extension = 0; extension < 30; ++extension) {
        for (int copy = 0; copy < copies; ++copy)
            copiesOf << std::pair(
                extension, copyOf(extension, QStringLiteral("U%1-%2").arg(extension).arg(copy)));
    }
    QRandomGenerator random{quint32(copies)};
    std::shuffle(copiesOf.begin(), copiesOf.end(), random); // copies apart, as in a listing

    // Copies go from even extensions and come to odd ones: a copy come where
    // another went, at the same path, would be that one registered anew.
    AppexList older;
    AppexList newer;
    QSet<Change> made;
    for (auto &[extension, record] : copiesOf) {
        older << record;
        const QString uuid = record.uuid();
        const bool losesCopies = extension % 2 == 0;
        switch (random.bounded(12)) {
        case 0: // gone, or another come beside it
            if (losesCopies) {
                made << change(AppexChange::Removed, uuid);
                continue;
            }
            newer << copyOf(extension, QStringLiteral("N%1").arg(older.size()));
            made << change(AppexChange::Added, newer.last().uuid());
            break;
        case 1: // a compared field changed
            record.setText(AppexField::Version, QStringLiteral("2.0"));
            made << change(AppexChange::Changed, uuid);
            break;
        case 2:
            record.setText(AppexField::Name, record.name() + QStringLiteral(" renamed"));
            made << change(AppexChange::Changed, uuid);
            break;
        case 3: // moved, so another copy, though its UUID stays
            if (losesCopies) {
                record.setText(AppexField::Path, QStringLiteral("/Moved/%1.appex").arg(uuid));
                made << change(AppexChange::Removed, uuid) << change(AppexChange::Added, uuid);
            }
            break;
        }
        newer << record;
    }

    const QList<ComparedAppex> changes = compareListings(older, newer);
    QSet<Change> reported;
    for (const ComparedAppex &compared : changes)
        reported << change(compared.change, compared.record.uuid());
    QCOMPARE(changes.size(), made.size());
    QCOMPARE(reported, made);
}

void TestListingComparison::comparison()
{
    const AppexList older = parseListing(readTestData("listings/older.txt"));
    const AppexList newer = parseListing(readTestData("listings/newer.txt"));
    COMPARE_GOLDEN(RecordFormat::json(compareListings(older, newer)), "listings/changes.json");
    QVERIFY(compareListings(newer, newer).isEmpty());
}

QTEST_GUILESS_MAIN(TestListingComparison)
#include "tst_listingcomparison.moc"
