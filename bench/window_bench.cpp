// The main window at scale, offscreen: from Get Appexes to the full list,
// from a keystroke in the search field to the redrawn list, and the peak
// memory, with a tool that prints the stand-in's sample repeated.

#include "appexer.h"
#include "benchtimer.h"
#include "contentview.h"
#include "samplelisting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeView>

#include <sys/resource.h>

#include <cstdio>

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024 / 1e6; // kilobytes on Linux
}

// A tool that prints `listing`, kept in `dir`.
QString toolPrinting(const QTemporaryDir &dir, const QByteArray &listing, int entries)
{
    QFile file(dir.filePath(QStringLiteral("listing%1.txt").arg(entries)));
    if (!file.open(QIODevice::WriteOnly) || file.write(listing) != listing.size())
        qFatal("cannot write the listing");
    file.close();
    QFile tool(dir.filePath(QStringLiteral("tool%1").arg(entries)));
    if (!tool.open(QIODevice::WriteOnly))
        qFatal("cannot write the tool");
    tool.write("#!/bin/sh\nexec cat '" + file.fileName().toUtf8() + "'\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
    return tool.fileName();
}

// Waits until `list` shows `rows` rows, then draws it: the moment the user
// sees them.
void waitForRows(QTreeView *list, int rows)
{
    while (list->model()->rowCount() != rows)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    QCoreApplication::processEvents();
    list->viewport()->repaint();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());

    std::printf("%-8s %6s %8s %8s %8s %10s %10s %10s %8s\n", "entries", "MB", "open ms", "tool ms",
                "sort ms", "1st key ms", "key ms", "all ms", "peak MB");
    for (const int entries : {10000, 100000}) {
        const QByteArray listing = repeatedSample(entries);
        ContentView::Services services;
        services.toolPath = toolPrinting(dir, listing, entries);
        const QString file = dir.filePath(QStringLiteral("listing%1.txt").arg(entries));
        ContentView window(std::move(services));
        window.resize(1000, 650);
        window.show();
        QCoreApplication::processEvents();
        auto *list = window.findChild<QTreeView *>(QStringLiteral("appexList"));
        auto *search = window.findChild<QLineEdit *>(QStringLiteral("search"));
        const auto settle = [list] {
            QCoreApplication::processEvents();
            list->viewport()->repaint(); // what the user sees, drawn now
        };

        // A captured listing opened, as "zephlist FILE" does, to its rows drawn.
        QElapsedTimer timer;
        timer.start();
        window.openListing(file);
        waitForRows(list, entries);
        const double open = double(timer.nsecsElapsed()) / 1e6;

        // The listing tool's listing over it.
        window.findChild<QAbstractButton *>(QStringLiteral("sortByName"))->click();
        settle();
        timer.restart();
        window.findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
        QCoreApplication::processEvents();
        while (!window.findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->isEnabled())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        waitForRows(list, entries);
        const double refresh = double(timer.nsecsElapsed()) / 1e6;

        const QStringList sorts{"sortBySDK", "sortByParent", "sortByUUID", "sortByName"};
        int nextSort = 0;
        const double sort = medianMilliseconds(int(sorts.size()) * 2, [&] {
            window.findChild<QAbstractButton *>(sorts[nextSort++ % sorts.size()])->click();
            settle();
        });

        // Typing "ab", deleting it and so on: each keystroke filters anew.
        const QStringList keystrokes{"a", "ab", "a", "", "4", "4e", "4", ""};
        int next = 0;
        const auto type = [&] {
            search->setText(keystrokes[next++ % keystrokes.size()]);
            settle();
        };
        const double firstKey = medianMilliseconds(1, type);
        const double keystroke = medianMilliseconds(int(keystrokes.size()) - 1, type);
        for (QAction *scope : window.findChildren<QAction *>()) {
            if (scope->text() == QLatin1String("All Fields"))
                scope->trigger();
        }
        const double allFields = medianMilliseconds(int(keystrokes.size()), type);
        std::printf("%-8d %6.1f %8.0f %8.0f %8.1f %10.1f %10.1f %10.1f %8.0f\n", entries,
                    double(listing.size()) / 1e6, open, refresh, sort, firstKey, keystroke,
                    allFields, peakMegabytes());
    }
    std::printf("(open: a captured listing to its rows drawn; tool: Get Appexes to its rows "
                "drawn;\n sorts: medians of 8 changes; keystrokes: the first, then medians of 7; "
                "the search starts in UUIDs, then looks in all fields)\n");
    return 0;
}
