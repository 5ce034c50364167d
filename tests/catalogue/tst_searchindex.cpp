#include "appexfield.h"
#include "randomrecords.h"
#include "searchindex.h"

#include <QTest>

#include <numeric>

// The window searches an index of every record's keys side by side; its plain
// twin is AppexSearch::matches() on one record after the other.
class TestSearchIndex : public QObject
{
    Q_OBJECT

private slots:
    void matchesAreTheSearchsOwn_data();
    void matchesAreTheSearchsOwn();
};

namespace {

// A query that a user could type: mostly a piece of a record's text, often
// running from one of the searched fields into the next, in any letter case.
QString randomQuery(QRandomGenerator &random, const AppexList &records)
{
    if (records.isEmpty() || random.bounded(5) == 0)
        return RandomRecords::text(random);
    const Appex &record = records[random.bounded(int(records.size()))];
    QStringList fields;
    for (const AppexField field : searchedFields)
        fields << record.text(field);
    const QString text = fields.join(u'\n');
    const QString query = text.mid(random.bounded(int(text.size()) + 1), random.bounded(1, 7));
    return random.bounded(2) ? query : query.toUpper();
}

} // namespace

void TestSearchIndex::matchesAreTheSearchsOwn_data()
{
    RandomRecords::addSeeds(30);
}

void TestSearchIndex::matchesAreTheSearchsOwn()
{
    QFETCH(int, seed);
    QRandomGenerator random(quint32(seed + 1));
    const AppexList records = RandomRecords::records(random, random.bounded(40));
    std::vector<qsizetype> keys(size_t(records.size())); // in another order than the records'
    std::iota(keys.begin(), keys.end(), 0);
    std::shuffle(keys.begin(), keys.end(), random);
    SearchIndex index;
    QVERIFY(index.build(SearchIndex::Part::Uuids, records, keys));
    QVERIFY(index.build(SearchIndex::Part::OtherFields, records, keys));

    for (int i = 0; i < 50; ++i) {
        const QString query = randomQuery(random, records);
        for (const auto scope : {AppexSearch::Scope::Uuid, AppexSearch::Scope::AllFields}) {
            const AppexSearch search(query, scope);
            std::vector<bool> expected(keys.size());
            for (qsizetype record = 0; record < records.size(); ++record)
                expected[size_t(keys[size_t(record)])] = search.matches(records[record]);
            const QString shown = QString(query).replace(QChar(u'\n'), QStringLiteral("\\n"));
            QVERIFY2(
                index.matching(search) == expected,
                qPrintable(QStringLiteral("query \"%1\", scope %2").arg(shown).arg(int(scope))));
        }
    }
}

QTEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
