// Build tool: a picture of the main window for the help, made from the real
// widgets after a listing of the stand-in tool, with the menus a user sees,
// at twice the pixel ratio so that it stays sharp when printed.
// helpshot STAND-IN OUTPUT.png

#include "contentview.h"
#include "helpcommands.h"

#include <QAbstractButton>
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
    if (argc != 3) {
        std::fputs("usage: helpshot STAND-IN OUTPUT.png\n", stderr);
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
    CatalogueController::Outcome outcome;
    QEventLoop loop;
    QObject::connect(&window.catalogue(), &CatalogueController::finished, &loop,
                     [&](const CatalogueController::Outcome &ended) {
                         outcome = ended;
                         loop.quit();
                     });
    window.findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
    loop.exec();
    // The window follows the listing; its layouts then settle a level per
    // turn, each posting the request of the one that holds it.
    for (int turn = 0; turn < 4; ++turn)
        QCoreApplication::processEvents();
    if (outcome.failure) {
        std::fprintf(stderr, "helpshot: %s\n", qPrintable(outcome.failure->text));
        return 1;
    }
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "helpshot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
