#pragma once

#include "appex.h"

#include <QObject>

class CatalogueController;
struct WindowServices;

// The window's commands that change which copies the system knows: remove
// one copy's registration, register a bundle (or one of an app's), and clean
// up the stale copies. Each asks first, through the window's services, then
// has the catalogue run the tool and check the result.
class RegistrationCommands : public QObject
{
    Q_OBJECT

public:
    RegistrationCommands(WindowServices &services, CatalogueController *catalogue,
                         QObject *parent = nullptr);

    void unregisterCopy(const Appex &record);
    void registerExtension();
    // Offers the stale copies among `records` for removal. Which copies are
    // stale shows only in a listing of every copy: without one, asks for it.
    void cleanUp(const AppexList &records);

    // The extension bundles inside the app at `appPath`.
    [[nodiscard]] static QStringList extensionsIn(const QString &appPath);

signals:
    // A note for the user where nothing ran.
    void note(const QString &text);
    // The user agrees to list every copy, to clean up after.
    void allCopiesWanted();

private:
    WindowServices &m_services;
    CatalogueController *m_catalogue;
};
