#include "helpcommands.h"

#include <QMenu>
#include <QMenuBar>

HelpCommands::HelpCommands(OpenWindow openWindow)
    : m_openWindow(std::move(openWindow))
{}

QMenu *HelpCommands::install(QMenuBar *menuBar) const
{
    QMenu *help = menuBar->addMenu(QObject::tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction *item = help->addAction(QStringLiteral("Zephlist Help"));
    item->setObjectName(QStringLiteral("zephlistHelp"));
    QObject::connect(item, &QAction::triggered, item,
                     [openWindow = m_openWindow] { openWindow(QStringLiteral("help")); });
    return help;
}
