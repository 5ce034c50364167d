// --compare at scale: the stand-in's sample repeated to 100k entries against
// the same listing with 1% of its entries edited, a third each removed,
// renamed and added (a new extension beside an entry). Prints the changes the
// comparison reports against those made, how many of those reported are ones
// made, and its time.

#include "benchtimer.h"
#include "listingcomparison.h"
#include "listingparser.h"
#include "samplelisting.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>

#include <cstdio>

namespace {

using Change = std::pair<QByteArray, QByteArray>; // the TSV's symbol, the UUID

QByteArray uuidOf(QByteArrayView block)
{
    const qsizetype at = block.indexOf("UUID = ") + 7;
    return block.sliced(at, block.indexOf('\n', at) - at).toByteArray();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int entries = 100000;
    const QByteArray older = repeatedSample(entries);
    QList<QByteArrayView> blocks;
    for (qsizetype at = 0, end; (end = older.indexOf("\n\n", at)) >= 0; at = end + 2)
        blocks << QByteArrayView(older).sliced(at, end - at);

    enum Edit { None, Removed, Renamed, Added };
    std::vector<Edit> edits(size_t(blocks.size()), None);
    QRandomGenerator random(1);
    for (int made = 0; made < entries / 100;) {
        const auto at = size_t(random.bounded(qsizetype(blocks.size())));
        const auto edit = Edit(made % 3 + 1);
        if (edits[at] != None || (edit == Renamed && !blocks[at].contains("Display Name = ")))
            continue;
        edits[at] = edit;
        ++made;
    }
    QByteArray newer;
    QSet<Change> made;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        QByteArray block = blocks[i].toByteArray();
        switch (edits[size_t(i)]) {
        case None:
            break;
        case Removed:
            made.insert({"-", uuidOf(block)});
            continue;
        case Renamed:
            block.replace("Display Name = ", "Display Name = Renamed ");
            made.insert({"~", uuidOf(block)});
            break;
        case Added: {
            const QByteArray uuid = "ADDED-" + QByteArray::number(i);
            newer += QByteArray(block)
                         .replace("Path = ", "Path = /Added" + QByteArray::number(i))
                         .replace(uuidOf(block), uuid) +
                     "\n\n";
            made.insert({"+", uuid});
            break;
        }
        }
        newer += block + "\n\n";
    }

    const AppexList olderRecords = parseListing(older);
    const AppexList newerRecords = parseListing(newer);
    QList<ComparedAppex> changes;
    const double milliseconds =
        medianMilliseconds(5, [&] { changes = compareListings(olderRecords, newerRecords); });
    qsizetype madeReported = 0;
    for (const ComparedAppex &change : std::as_const(changes))
        madeReported += made.contains({changeSymbol(change.change).toByteArray(),
                                       change.record.bytes(AppexField::Uuid).toByteArray()});
    std::printf("%-8s %6s %9s %14s %8s\n", "entries", "made", "reported", "of them made", "ms");
    std::printf("%-8d %6lld %9lld %14lld %8.1f\n", entries, qlonglong(made.size()),
                qlonglong(changes.size()), qlonglong(madeReported), milliseconds);
    std::printf("(changes reported by compareListings; ms the median of 5 comparisons)\n");
    return 0;
}
