#include "zephlistapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zephlist"));
    QApplication::setOrganizationName(QStringLiteral("Zephlist"));
    QApplication::setApplicationVersion(QStringLiteral(ZEPHLIST_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("zephlist")); // its icon comes with the entry

    ZephlistApp zephlist;
    zephlist.newMainWindow();
    return QApplication::exec();
}
