#pragma once

#include "windowservices.h"

#include <QObject>

#include <memory>

class Appexer;
class CatalogueActions;
class SaveWatcher;
class StatusArea;

// The window's commands that go through a file panel: opening a listing or
// comparing with one, in the folder of the listing shown, and saving the
// listing or the report, each save told in the status area once done.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    FileCommands(WindowServices &services, const Appexer &appexer, CatalogueActions *catalogue,
                 StatusArea *status, QObject *parent = nullptr);
    ~FileCommands() override;

    void openListing();
    void compareWithListing();
    void saveListing();
    void saveAsRTF();

private:
    void chooseListing(const QString &title, const std::function<void(QString)> &use);

    WindowServices &m_services;
    const Appexer &m_appexer;
    CatalogueActions *m_catalogue;
    std::unique_ptr<SaveWatcher> m_reportSave;
    std::unique_ptr<SaveWatcher> m_listingSave;
};
