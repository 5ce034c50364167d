// Composition and RTF encoding of the report for generated catalogues.

#include "appexer.h"
#include "benchtimer.h"
#include "listingbuilder.h"
#include "reportcomposer.h"
#include "rtfencoder.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 5;
    std::printf("%-8s %10s %10s %10s %10s\n", "entries", "compose", "encode", "total", "RTF MB");
    for (const int entries : {1000, 10000, 100000}) {
        Appexer appexer(QString{});
        if (!appexer.loadListing(ListingBuilder().addGenerated(entries).listing(), SortCode::SDK))
            qFatal("the generated listing did not load");

        ReportText report;
        QByteArray rtf;
        const double compose =
            medianMilliseconds(runs, [&] { report = composeReport(appexer.appexList()); });
        const double encode = medianMilliseconds(runs, [&] { rtf = RtfEncoder::encode(report); });
        std::printf("%-8d %10.1f %10.1f %10.1f %10.1f\n", entries, compose, encode,
                    compose + encode, double(rtf.size()) / 1e6);
    }
    std::printf("(times in ms, medians of %d runs)\n", runs);
    return 0;
}
