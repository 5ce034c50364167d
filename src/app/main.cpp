#include "indicatorstyle.h"
#include "version.h"
#include "zephlistapp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    int status = 0;
    {
        QApplication app(argc, argv);
        QApplication::setStyle(
            new IndicatorStyle(QStyleFactory::create(QApplication::style()->name())));
        QApplication::setApplicationName(QStringLiteral("Zephlist"));
        QApplication::setOrganizationName(QStringLiteral("Zephlist"));
        QApplication::setApplicationVersion(QStringLiteral(ZEPHLIST_VERSION));
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zephlist.svg")));
        QGuiApplication::setDesktopFileName(QStringLiteral("zephlist"));

        QCommandLineParser parser;
        parser.setApplicationDescription(
            QCoreApplication::translate("main", "Lists the app extensions that macOS registers."));
        parser.addHelpOption();
        parser.addVersionOption();
        const QCommandLineOption pluginkit(
            QStringLiteral("pluginkit"),
            QCoreApplication::translate("main", "The listing tool to run."),
            QCoreApplication::translate("main", "PATH"), ToolSource::defaultToolPath());
        parser.addOption(pluginkit);
        parser.addPositionalArgument(
            QStringLiteral("listing"),
            QCoreApplication::translate("main", "A captured listing to show."),
            QCoreApplication::translate("main", "[listing]"));
        parser.process(app);

        ZephlistApp::Services services;
        services.mainWindowServices = [tool = parser.value(pluginkit)] {
            ContentView::Services windowServices;
            windowServices.toolPath = tool;
            return windowServices;
        };
        ZephlistApp zephlist(std::move(services));
        ContentView *window = zephlist.newMainWindow();
        if (!parser.positionalArguments().isEmpty())
            window->openListing(parser.positionalArguments().first());
        status = QApplication::exec();
    } // the application's end waits for a stopped tool's group to go
    // Told to end by a signal, it ends by it, as if it had not been caught.
    if (TerminationSignals::received() != 0)
        TerminationSignals::endByReceivedSignal();
    return status;
}
