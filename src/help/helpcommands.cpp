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
    const auto add = [this, help](const QString &text, const QString &identifier) {
        QAction *item = help->addAction(text);
        item->setObjectName(identifier);
        QObject::connect(item, &QAction::triggered, item,
                         [openWindow = m_openWindow, identifier] { openWindow(identifier); });
        return item;
    };
    add(QObject::tr("Zephlist Help"), QStringLiteral("help"))
        ->setShortcut(QKeySequence::HelpContents);
    add(QObject::tr("&About Zephlist"), QStringLiteral("about"))->setMenuRole(QAction::AboutRole);
    return help;
}
