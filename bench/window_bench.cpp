// Time from pressing "Get Appexes" to the list holding every row, with the
// listing tool replaying a generated listing, and the process's peak memory.
// Runs offscreen.

#include "appexlistmodel.h"
#include "contentview.h"
#include "fakedialogs.h"
#include "faketool.h"
#include "listingbuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>

#include <sys/resource.h>

#include <cstdio>

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FakeTool tools;

    std::printf("%-8s %10s %12s %14s\n", "entries", "MB", "refresh ms", "peak RSS MB");
    for (const int entries : {10000, 100000}) {
        QString tool;
        double megabytes = 0;
        {
            const QByteArray listing = ListingBuilder().addGenerated(entries).listing();
            megabytes = double(listing.size()) / 1e6;
            tool = tools.printing(listing);
        }
        ContentView window(ContentView::Services{tool, std::make_unique<FakeSavePanel>(),
                                                 std::make_unique<FakeAlert>()});
        window.show();
        QCoreApplication::processEvents();
        const auto *model = window.findChild<QListView *>(QStringLiteral("appexList"))->model();

        QElapsedTimer timer;
        timer.start();
        window.findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
        while (model->rowCount() < entries)
            QCoreApplication::processEvents();
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        std::printf("%-8d %10.1f %12.0f %14.0f\n", entries, megabytes, elapsed, peakMegabytes());
    }
    return 0;
}
