// The catalogue at scale: the CLI from a captured listing to TSV, and the
// parts of it, on the stand-in's sample repeated to 10k and 100k entries.

#include "appexer.h"
#include "appexfilter.h"
#include "benchtimer.h"
#include "listingparser.h"
#include "recordformat.h"
#include "samplelisting.h"
#include "sortorder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

// Wall time of `zephlist-cli --listing FILE --format FORMAT > /dev/null`.
double cliMilliseconds(const QString &listingFile, const QString &format)
{
    QProcess cli;
    cli.setProgram(QStringLiteral(ZEPHLIST_CLI));
    cli.setArguments(
        {QStringLiteral("--listing"), listingFile, QStringLiteral("--format"), format});
    cli.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    cli.start();
    if (!cli.waitForFinished(-1) || cli.exitCode() != 0)
        qFatal("zephlist-cli failed");
    return double(timer.nsecsElapsed()) / 1e6;
}

double childrenPeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) * 1024 / 1e6; // kilobytes on Linux
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 5;
    QTemporaryDir dir;
    // The listings the app keeps go with the rest, not to the user's history.
    qputenv("ZEPHLIST_HISTORY_DIR", dir.filePath(QStringLiteral("history")).toUtf8());
    std::printf("%-8s %6s %8s %9s %9s %7s %7s %7s %7s %7s %8s %8s %6s\n", "entries", "MB", "CLI ms",
                "CLI RSS", "CLI JSON", "parse", "sort 0", "sort 1", "sort 2", "sort 3", "find all",
                "find id", "TSV");
    for (const int entries : {10000, 100000}) {
        const QByteArray listing = repeatedSample(entries);
        const QString file = dir.filePath(QStringLiteral("listing%1.txt").arg(entries));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(listing) != listing.size())
            qFatal("cannot write the listing");
        out.close();

        const double cli =
            medianMilliseconds(runs, [&] { cliMilliseconds(file, QStringLiteral("tsv")); });
        const double cliPeak = childrenPeakMegabytes();
        const double cliJson =
            medianMilliseconds(runs, [&] { cliMilliseconds(file, QStringLiteral("json")); });

        const double parse = medianMilliseconds(runs, [&] { (void)parseListing(listing); });

        // A listing's records sorted from the listing's order, as the CLI
        // sorts them once.
        const AppexList parsed = parseListing(listing);
        double sorts[4];
        for (qint64 code = 0; code < 4; ++code) {
            sorts[code] = medianMilliseconds(runs, [&] {
                AppexList records = parsed;
                SortOrder::apply(records, SortOrder::order(records, SortCode(code)));
            });
        }
        Appexer appexer;
        appexer.setListing({parseListing(listing), listing, file});
        const AppexList &records = appexer.appexList();

        // Every keystroke filters the whole catalogue again; "ui" is in some
        // names and paths, in no UUID.
        AppexFilter filter(&appexer);
        filter.setScope(AppexSearch::Scope::AllFields);
        QString query = QStringLiteral("ui");
        const double findAll = medianMilliseconds(runs, [&] {
            query = query == u"ui" ? QStringLiteral("uI") : QStringLiteral("ui");
            filter.setQuery(query);
            (void)filter.rowCount(); // the proxy filters when asked
        });
        filter.setScope(AppexSearch::Scope::Uuid);
        const double findUuid = medianMilliseconds(runs, [&] {
            query = query == u"4e" ? QStringLiteral("4E") : QStringLiteral("4e");
            filter.setQuery(query);
            (void)filter.rowCount();
        });
        const double tsv = medianMilliseconds(runs, [&] {
            (void)RecordFormat::writeTsv(records, [](QByteArrayView) { return true; });
        });

        std::printf(
            "%-8d %6.1f %8.0f %8.0fM %8.2fx %7.0f %7.1f %7.1f %7.1f %7.1f %8.1f %8.1f %6.1f\n",
            entries, double(listing.size()) / 1e6, cli, cliPeak, cliJson / cli, parse, sorts[0],
            sorts[1], sorts[2], sorts[3], findAll, findUuid, tsv);
    }
    std::printf(
        "(ms, medians of %d runs; CLI RSS is the peak over its TSV runs, in MB; CLI JSON is\n"
        " its time to JSON against its time to TSV; each sort from the listing's order, as\n"
        " the CLI sorts)\n",
        runs);
    return 0;
}
