// Composition and RTF encoding of the report, for the stand-in's sample
// repeated to 10k and 100k entries.

#include "appexer.h"
#include "benchtimer.h"
#include "listingparser.h"
#include "reportcomposer.h"
#include "rtfencoder.h"
#include "samplelisting.h"
#include "sortorder.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 5;
    QTemporaryDir dir;
    std::printf("%-8s %10s %10s %10s %10s\n", "entries", "compose", "encode", "total", "RTF MB");
    for (const int entries : {10000, 100000}) {
        QFile file(dir.filePath(QStringLiteral("listing%1.txt").arg(entries)));
        const QByteArray listing = repeatedSample(entries);
        if (!file.open(QIODevice::WriteOnly) || file.write(listing) != listing.size())
            qFatal("cannot write the listing");
        file.close();
        Appexer appexer;
        appexer.setListing({parseListing(listing), listing, file.fileName()});

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
