#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QMenuBar;

// The Help menu: one item, "Zephlist Help", which asks for the window "help".
class HelpCommands
{
public:
    // Opens the window with the given identifier.
    using OpenWindow = std::function<void(const QString &identifier)>;

    explicit HelpCommands(OpenWindow openWindow);

    // Adds the Help menu, with its one item, to `menuBar`.
    QMenu *install(QMenuBar *menuBar) const;

private:
    OpenWindow m_openWindow;
};
