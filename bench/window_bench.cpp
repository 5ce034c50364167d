// The main window at scale, offscreen: from Get Appexes to the full list,
// from a keystroke in the search field to the redrawn list, from a switch of
// the view, a table's sort, a category or the details pane to the redrawn
// window, and the peak memory, with a tool that prints the stand-in's sample
// repeated. `window-bench 100000` runs one size only, for a peak of its own.

#include "appexer.h"
#include "benchtimer.h"
#include "contentview.h"
#include "samplelisting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSettings>
#include <QTableView>
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

// A left click in the middle of the header titled `title`, as the user gives it.
void clickHeader(QHeaderView *header, const QString &title)
{
    int column = 0;
    while (header->model()->headerData(column, Qt::Horizontal).toString() != title)
        ++column;
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    const QPoint global = header->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &press);
    QApplication::sendEvent(header->viewport(), &release);
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
    // The listings the app keeps go with the rest, not to the user's history.
    qputenv("ZEPHLIST_HISTORY_DIR", dir.filePath(QStringLiteral("history")).toUtf8());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());

    QList<int> sizes{10000, 100000};
    if (argc > 1)
        sizes = {QString::fromLocal8Bit(argv[1]).toInt()};
    QStringList views; // a line of the second table for each size
    std::printf("%-8s %6s %8s %8s %8s %10s %10s %10s %8s\n", "entries", "MB", "open ms", "tool ms",
                "sort ms", "1st key ms", "key ms", "all ms", "peak MB");
    for (const int entries : std::as_const(sizes)) {
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
        // The window's other views over the whole list, each to the whole window drawn.
        search->clear();
        const auto drawWindow = [&window] {
            QCoreApplication::processEvents();
            window.repaint();
        };
        const auto set = [&](const char *name, bool checked) {
            return [&, name, checked] {
                window.findChild<QAction *>(QLatin1String(name))->setChecked(checked);
                drawWindow();
            };
        };
        const double toTable = medianMilliseconds(5, set("asTable", true), set("asRows", true));
        const double toRows = medianMilliseconds(5, set("asRows", true), set("asTable", true));

        set("asTable", true)();
        auto *table = window.findChild<QTableView *>(QStringLiteral("appexTable"));
        // Version up, then down, Identifier, and Name.
        const QString columns[] = {"Version", "Version", "Identifier", "Name"};
        int nextColumn = 0;
        const double header = medianMilliseconds(8, [&] {
            clickHeader(table->horizontalHeader(), columns[nextColumn++ % std::size(columns)]);
            drawWindow();
        });
        set("asRows", true)();

        set("showSidebar", true)();
        auto *sidebar = window.findChild<QListWidget *>(QStringLiteral("sidebar"));
        const int categories[] = {2, 3, 4, 5, 6, 7, 8, 0}; // then All again
        int nextCategory = 0;
        const double category = medianMilliseconds(8, [&] {
            sidebar->setCurrentRow(categories[nextCategory++ % std::size(categories)]);
            drawWindow();
        });
        list->setCurrentIndex(list->model()->index(0, 0));
        drawWindow();
        // Ctrl+I with a record chosen; closed again untimed.
        const double details =
            medianMilliseconds(6, set("showDetails", true), set("showDetails", false));
        // The next size starts as this one did.
        set("showDetails", false)();
        set("showSidebar", false)();
        views << QString::asprintf("%-8d %10.1f %10.1f %10.1f %12.1f %10.1f", entries, toTable,
                                   toRows, header, category, details);
        std::printf("%-8d %6.1f %8.0f %8.0f %8.1f %10.1f %10.1f %10.1f %8.0f\n", entries,
                    double(listing.size()) / 1e6, open, refresh, sort, firstKey, keystroke,
                    allFields, peakMegabytes());
    }
    std::printf("(open: a captured listing to its rows drawn; tool: Get Appexes to its rows "
                "drawn;\n sorts: medians of 8 changes; keystrokes: the first, then medians of 7; "
                "the search starts in UUIDs, then looks in all fields)\n\n");
    std::printf("%-8s %10s %10s %10s %12s %10s\n", "entries", "table ms", "rows ms", "header ms",
                "category ms", "details ms");
    for (const QString &line : std::as_const(views))
        std::printf("%s\n", qPrintable(line));
    std::printf("(each to the whole window drawn: rows to table and back, medians of 5; a click "
                "on a\n table's header, medians of 8; a sidebar category, medians of 8; the "
                "details pane\n opened with a record chosen, medians of 6)\n");
    return 0;
}
