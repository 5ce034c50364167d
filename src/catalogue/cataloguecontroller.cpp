#include "cataloguecontroller.h"

#include "appexer.h"

CatalogueController::CatalogueController(Appexer *appexer, ListingLoader *loader, QObject *parent)
    : QObject(parent)
    , m_appexer(appexer)
    , m_loader(loader)
{
    connect(loader, &ListingLoader::busyChanged, this, &CatalogueController::busyChanged);
    connect(loader, &ListingLoader::listingFinished, this, &CatalogueController::listingFinished);
    connect(loader, &ListingLoader::electionFinished, this, &CatalogueController::electionFinished);
}

void CatalogueController::refresh(qint64 sortCode)
{
    read(Purpose::ToolListing, QString(), sortCode);
}

void CatalogueController::openListing(const QString &fileName, qint64 sortCode)
{
    read(Purpose::FileListing, fileName, sortCode);
}

void CatalogueController::compareWithListing(const QString &fileName)
{
    read(Purpose::Baseline, fileName, m_appexer->sortCode());
}

void CatalogueController::setElection(const QString &identifier, ElectionChoice choice,
                                      qint64 sortCode)
{
    if (isBusy())
        return;
    m_appexer->sortAppexList(sortCode);
    m_loader->elect(identifier, choice);
}

void CatalogueController::read(Purpose purpose, const QString &fileName, qint64 sortCode)
{
    if (isBusy())
        return;
    m_purpose = purpose;
    m_file = fileName;
    m_appexer->sortAppexList(sortCode); // a sort picked meanwhile sorts the listing that comes
    if (purpose == Purpose::ToolListing)
        m_loader->readTool();
    else
        m_loader->readFile(fileName);
}

void CatalogueController::listingFinished(bool succeeded)
{
    if (succeeded) {
        AppexList records = m_loader->takeRecords();
        if (m_purpose == Purpose::Baseline)
            m_appexer->setBaseline(std::move(records), m_file);
        else
            m_appexer->setListing(std::move(records), m_loader->takeListing(), m_file,
                                  m_appexer->sortCode());
    } else if (m_purpose == Purpose::ToolListing && !m_loader->wasCancelled()) {
        m_appexer->setListing({}, {}, QString(),
                              m_appexer->sortCode()); // a failed refresh leaves nothing
    }
    emit jobFinished(succeeded);
}

void CatalogueController::electionFinished(bool succeeded)
{
    if (succeeded)
        refresh(m_appexer->sortCode()); // shows the election's effect
    else
        emit jobFinished(false);
}
