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

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());

    std::printf("%-8s %6s %11s %13s %13s %9s\n", "entries", "MB", "refresh ms", "keystroke ms",
                "all fields ms", "peak MB");
    for (const int entries : {10000, 100000}) {
        ContentView::Services services;
        services.toolPath = toolPrinting(dir, repeatedSample(entries), entries);
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

        QElapsedTimer timer;
        timer.start();
        QEventLoop loop;
        QObject::connect(&window.catalogue(), &CatalogueController::jobFinished, &loop,
                         &QEventLoop::quit);
        window.findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
        loop.exec();
        settle();
        const double refresh = double(timer.nsecsElapsed()) / 1e6;
        if (list->model()->rowCount() != entries)
            qFatal("the list holds %d rows", list->model()->rowCount());

        // Typing "ab", deleting it and so on: each keystroke filters anew.
        const QStringList keystrokes{"a", "ab", "a", "", "4", "4e", "4", ""};
        int next = 0;
        const auto type = [&] {
            search->setText(keystrokes[next++ % keystrokes.size()]);
            settle();
        };
        const double keystroke = medianMilliseconds(int(keystrokes.size()), type);
        for (QAction *scope : window.findChildren<QAction *>()) {
            if (scope->text() == QLatin1String("All Fields"))
                scope->trigger();
        }
        const double allFields = medianMilliseconds(int(keystrokes.size()), type);
        std::printf("%-8d %6.1f %11.0f %13.1f %13.1f %9.0f\n", entries,
                    double(repeatedSample(entries).size()) / 1e6, refresh, keystroke, allFields,
                    peakMegabytes());
    }
    std::printf(
        "(keystrokes: medians of 8; the search starts in UUIDs, then looks in all fields)\n");
    return 0;
}
