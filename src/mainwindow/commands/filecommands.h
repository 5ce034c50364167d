#pragma once

#include "windowservices.h"

#include <QObject>

#include <memory>

class Appexer;
class CatalogueController;
class SaveWatcher;
class StatusArea;

// The window's commands that go through a file panel: opening a listing or
// comparing with one, in the folder of the listing shown, and saving the
// listing or the report, each save told in the status area once done.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    FileCommands(WindowServices &services, const Appexer &appexer, CatalogueController *catalogue,
                 StatusArea *status, QObject *parent = nullptr);
    ~FileCommands() override;

    void openListing();
    // Shows the captured listing in `file`.
    void openListing(const QString &file);
    void compareWithListing();
    void saveListing();
    void saveAsRTF();

private:
    void chooseListing(const QString &title, const std::function<void(QString)> &use);
    // Whether `file` can be read as a listing without holding the window up;
    // says why not in the status area.
    [[nodiscard]] bool isReadable(const QString &file) const;

    WindowServices &m_services;
    const Appexer &m_appexer;
    CatalogueController *m_catalogue;
    StatusArea *m_status;
    std::unique_ptr<SaveWatcher> m_reportSave;
    std::unique_ptr<SaveWatcher> m_listingSave;
};
