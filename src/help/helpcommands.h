#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QMenuBar;

// The Help menu: "Zephlist Help" (F1), which asks for the window "help", and
// "About Zephlist", which asks for the window "about".
class HelpCommands
{
public:
    // Opens the window with the given identifier.
    using OpenWindow = std::function<void(const QString &identifier)>;

    explicit HelpCommands(OpenWindow openWindow);

    // Adds the Help menu, with its items, to `menuBar`.
    QMenu *install(QMenuBar *menuBar) const;

private:
    OpenWindow m_openWindow;
};
