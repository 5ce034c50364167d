#include "version.h"
#include "zephlistapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zephlist"));
    QApplication::setOrganizationName(QStringLiteral("Zephlist"));
    QApplication::setApplicationVersion(QStringLiteral(ZEPHLIST_VERSION));
    // The window's icon comes with the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("zephlist"));

    ZephlistApp zephlist;
    zephlist.newMainWindow();
    return QApplication::exec();
}
