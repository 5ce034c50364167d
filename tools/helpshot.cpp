// Build tool: pictures for the help, made from the real widgets after a
// listing of the stand-in tool, at twice the pixel ratio so that they stay
// sharp when printed: the main window with the menus a user sees, and the
// details of an extension with several copies, its copies table shown.
// helpshot STAND-IN MAINWINDOW.png COPIES.png

#include "appexer.h"
#include "contentview.h"
#include "helpcommands.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs headless during the build
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: helpshot STAND-IN MAINWINDOW.png COPIES.png\n", stderr);
        return 64;
    }
    // The build's own settings and elections, not the user's.
    QTemporaryDir scratch;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
    qputenv("ZEPHLIST_STANDIN_STATE", scratch.filePath(QStringLiteral("elections")).toUtf8());

    ContentView::Services services;
    services.toolPath = QString::fromLocal8Bit(argv[1]);
    ContentView window(std::move(services));
    HelpCommands([](const QString &) {}).install(window.menuBar());
    window.resize(880, 500);
    window.show();
    // Runs `start`, then waits for the listing it starts and the window to follow.
    const auto listed = [&window](const std::function<void()> &start) {
        CatalogueController::Outcome outcome;
        QEventLoop loop;
        QObject::connect(&window.catalogue(), &CatalogueController::finished, &loop,
                         [&](const CatalogueController::Outcome &ended) {
                             outcome = ended;
                             loop.quit();
                         });
        start();
        loop.exec();
        // The window follows the listing; its layouts then settle a level per
        // turn, each posting the request of the one that holds it.
        for (int turn = 0; turn < 4; ++turn)
            QCoreApplication::processEvents();
        if (outcome.failure)
            std::fprintf(stderr, "helpshot: %s\n", qPrintable(outcome.failure->text));
        return !outcome.failure;
    };
    const auto save = [](QWidget *widget, const char *file) {
        if (widget->grab().save(QString::fromLocal8Bit(file)))
            return true;
        std::fprintf(stderr, "helpshot: cannot write %s\n", file);
        return false;
    };
    if (!listed([&window] {
            window.findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
        }) ||
        !save(&window, argv[2]))
        return 1;

    // Every copy listed, the copy in use of an extension with four chosen.
    window.findChild<QAction *>(QStringLiteral("showDetails"))->setChecked(true);
    if (!listed([&window] {
            window.findChild<QAction *>(QStringLiteral("showAllCopies"))->setChecked(true);
        }))
        return 1;
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("appexList"));
    const QAbstractItemModel *rows = list->model();
    for (int row = 0; row < rows->rowCount(); ++row) {
        const auto record = rows->index(row, 0).data(Appexer::RecordRole).value<Appex>();
        if (record.identifier() == u"com.example.notesplus.NotesPlusWidget" &&
            record.active() == true)
            list->setCurrentIndex(rows->index(row, 0));
    }
    for (int turn = 0; turn < 4; ++turn)
        QCoreApplication::processEvents();
    return save(window.findChild<QWidget *>(QStringLiteral("details")), argv[3]) ? 0 : 1;
}
