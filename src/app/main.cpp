#include "zephlistapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zephlist"));
    QApplication::setOrganizationName(QStringLiteral("Zephlist"));
    QApplication::setApplicationVersion(QStringLiteral(ZEPHLIST_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zephlist.svg")));

    ZephlistApp zephlist;
    zephlist.newMainWindow();
    return QApplication::exec();
}
