#include "contentview.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zephlist"));
    QApplication::setOrganizationName(QStringLiteral("Zephlist"));
    auto *window = new ContentView;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return QApplication::exec();
}
