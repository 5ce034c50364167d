#include "appexer.h"
#include "randomrecords.h"
#include "sortorder.h"

#include <QTest>

#include <numeric>

// Sorting ranks each field's distinct values once, in a hash table of its
// own, and then orders rows by a counting sort. Its plain twin is a stable
// sort that compares the texts as the orders are documented: by Unicode
// scalar value after the full lower-case mapping and canonical normalisation.
class TestSortRanks : public QObject
{
    Q_OBJECT

private slots:
    void ordersAreStableSorts_data();
    void ordersAreStableSorts();
    void catalogueResortsAreStableSorts_data();
    void catalogueResortsAreStableSorts();
};

namespace {

QList<uint> keyOf(const QString &text, bool ignoringCase)
{
    return (ignoringCase ? text.toLower() : text).normalized(QString::NormalizationForm_C).toUcs4();
}

// Whether record a sorts before record b for `sortCode`.
bool before(const Appex &a, const Appex &b, SortCode sortCode)
{
    const auto primary = [sortCode](const Appex &record) {
        return sortCode == SortCode::SDK      ? keyOf(record.SDK(), true)
               : sortCode == SortCode::Parent ? keyOf(record.parentName(), true)
               : sortCode == SortCode::UUID   ? keyOf(record.uuid(), false)
                                              : keyOf(record.name(), true);
    };
    const auto secondary = [sortCode](const Appex &record) {
        return sortCode == SortCode::SDK || sortCode == SortCode::Parent
                   ? keyOf(record.name(), true)
                   : QList<uint>();
    };
    return std::pair(primary(a), secondary(a)) < std::pair(primary(b), secondary(b));
}

std::vector<qsizetype> rowKeys(const Appexer &catalogue)
{
    std::vector<qsizetype> keys;
    for (int row = 0; row < catalogue.rowCount(); ++row)
        keys.push_back(catalogue.recordKey(row));
    return keys;
}

const std::array sortCodes = {SortCode::SDK, SortCode::Parent, SortCode::UUID, SortCode::Name};

} // namespace

void TestSortRanks::ordersAreStableSorts_data()
{
    RandomRecords::addSeeds(30);
}

// A listing's records from the listing's order, as the CLI sorts them: more
// distinct values than the hash table first has room for.
void TestSortRanks::ordersAreStableSorts()
{
    QFETCH(int, seed);
    QRandomGenerator random(quint32(seed + 1));
    const AppexList records = RandomRecords::records(random, random.bounded(300));
    for (const SortCode sortCode : sortCodes) {
        std::vector<qsizetype> expected(size_t(records.size()));
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
            return before(records[a], records[b], sortCode);
        });
        QCOMPARE(SortOrder::order(records, sortCode), expected);
    }
}

void TestSortRanks::catalogueResortsAreStableSorts_data()
{
    RandomRecords::addSeeds(30);
}

// A window's catalogue sorted again and again, by the codes and by ranks of
// the caller's either way (as a table column orders it), each sort from the rows' order before it;
// half the seeds with removed records among the rows. The first seeds hold 0 to 3 records.
void TestSortRanks::catalogueResortsAreStableSorts()
{
    QFETCH(int, seed);
    QRandomGenerator random(quint32(seed + 1));
    Appexer catalogue;
    catalogue.setListing(
        {RandomRecords::records(random, seed < 4 ? seed : random.bounded(60)), {}, {}});
    if (seed % 2)
        catalogue.setBaseline({RandomRecords::records(random, random.bounded(10)), {}, {}});
    const auto sorted = [&catalogue](std::vector<qsizetype> rows, SortCode by) {
        const ListingRecords byKey = catalogue.byRecordKey();
        std::stable_sort(rows.begin(), rows.end(), [&](qsizetype a, qsizetype b) {
            return before(byKey.at(a), byKey.at(b), by);
        });
        return rows;
    };
    QCOMPARE(sorted(rowKeys(catalogue), SortCode::SDK), rowKeys(catalogue)); // the first order
    bool rankOrdered = false;
    for (int step = 0; step < 12; ++step) {
        std::vector<qsizetype> expected = rowKeys(catalogue);
        if (random.bounded(3) == 0) {
            auto ranks = std::make_shared<SortRanks::Ranks>();
            ranks->count = quint32(random.bounded(1, 5));
            for (qsizetype key = 0; key < catalogue.byRecordKey().count; ++key)
                ranks->ofKey.push_back(quint32(random.bounded(int(ranks->count))));
            const Qt::SortOrder order =
                random.bounded(2) ? Qt::AscendingOrder : Qt::DescendingOrder;
            std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
                const quint32 x = ranks->ofKey[size_t(a)];
                const quint32 y = ranks->ofKey[size_t(b)];
                return order == Qt::AscendingOrder ? x < y : y < x;
            });
            catalogue.setRankOrder(Appexer::RankOrder{ranks, order});
            rankOrdered = true;
        } else {
            // Leaving the ranks sorts by the code again, before the new code.
            if (std::exchange(rankOrdered, false))
                expected = sorted(expected, catalogue.sortCode());
            const SortCode sortCode = sortCodes[random.bounded(int(sortCodes.size()))];
            expected = sorted(expected, sortCode);
            catalogue.setRankOrder(std::nullopt);
            catalogue.sortAppexList(sortCode);
        }
        QCOMPARE(rowKeys(catalogue), expected);
    }
}

QTEST_GUILESS_MAIN(TestSortRanks)
#include "tst_sortranks.moc"
