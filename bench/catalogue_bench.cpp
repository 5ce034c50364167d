// Parse throughput, sort and search times of the catalogue on generated
// listings of pluginkit's shape.

#include "appexer.h"
#include "benchtimer.h"
#include "listingbuilder.h"
#include "listingparser.h"
#include "uuidsearch.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 5;
    std::printf("%-8s %10s %12s %12s %9s %9s %9s %9s %12s\n", "entries", "MB", "parse MB/s",
                "+decode MB/s", "sort 0", "sort 1", "sort 2", "sort 3", "search");
    for (const int entries : {1000, 10000, 100000}) {
        const QByteArray listing = ListingBuilder().addGenerated(entries).listing();
        const double megabytes = double(listing.size()) / 1e6;
        const QString text = QString::fromUtf8(listing);

        AppexList records;
        // Dropping the previous run's records is not part of parsing.
        const auto dropRecords = [&] { records = AppexList(); };
        const double parse = medianMilliseconds(
            runs, [&] { records = parseListing(text); }, dropRecords);
        const double decodeAndParse = medianMilliseconds(
            runs,
            [&] {
                QStringDecoder decoder(QStringDecoder::Utf8);
                records = parseListing(QString(decoder.decode(listing)));
            },
            dropRecords);

        double sorts[4];
        for (qint64 code = 0; code < 4; ++code) {
            sorts[code] = medianMilliseconds(runs, [&] {
                AppexList list = records; // from listing order every time
                for (const SortOrder::Key key : SortOrder::passesFor(code))
                    SortOrder::sortBy(list, key);
            });
        }
        // A query in the middle of the generated UUIDs, present in one record.
        const QString query = records[records.size() / 2].uuid.right(12).toLower();
        qsizetype found = 0;
        const double search =
            medianMilliseconds(runs, [&] { found = UuidSearch(query).filter(records).size(); });
        if (found != 1)
            qFatal("the search found %lld records instead of 1", qlonglong(found));

        std::printf("%-8d %10.1f %12.0f %12.0f %9.1f %9.1f %9.1f %9.1f %12.2f\n", entries,
                    megabytes, megabytes / (parse / 1e3), megabytes / (decodeAndParse / 1e3),
                    sorts[0], sorts[1], sorts[2], sorts[3], search);
    }
    std::printf("(times in ms, medians of %d runs)\n", runs);
    return 0;
}
