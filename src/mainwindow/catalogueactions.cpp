#include "catalogueactions.h"

#include <QFileInfo>

CatalogueActions::CatalogueActions(Appexer *appexer, qint64 sortCode, QObject *parent)
    : QObject(parent)
    , m_appexer(appexer)
    , m_sortCode(sortCode)
{
    connect(m_appexer, &Appexer::busyChanged, this, &CatalogueActions::busyChanged);
    connect(m_appexer, &Appexer::jobFinished, this, &CatalogueActions::finish);
}

void CatalogueActions::getAppexes()
{
    m_appexer->refresh(m_sortCode);
}

void CatalogueActions::openListing(const QString &file)
{
    readListing(file,
                [this](const QString &listing) { m_appexer->openListing(listing, m_sortCode); });
}

void CatalogueActions::compareWithListing(const QString &file)
{
    readListing(file, [this](const QString &older) { m_appexer->compareWithListing(older); });
}

void CatalogueActions::clearComparison()
{
    m_appexer->clearComparison();
}

void CatalogueActions::elect(const QString &identifier, Appexer::ElectionChoice choice)
{
    m_appexer->setElection(identifier, choice, m_sortCode);
}

void CatalogueActions::sortBy(qint64 sortCode)
{
    if (sortCode == m_sortCode)
        return;
    m_sortCode = sortCode;
    m_appexer->sortAppexList(m_sortCode);
}

void CatalogueActions::cancel()
{
    m_appexer->cancel();
}

// One that is not a regular file, a FIFO say, is refused, as reading it
// could hold the window up.
void CatalogueActions::readListing(const QString &file, const std::function<void(QString)> &read)
{
    if (m_appexer->isBusy()) {
        m_pendingRead = [this, file, read] { readListing(file, read); };
        return;
    }
    if (!QFileInfo(file).isFile()) {
        emit refused(tr("The listing \u201C%1\u201D could not be read: it is not a regular file.")
                         .arg(file));
        return;
    }
    read(file);
}

void CatalogueActions::finish(bool succeeded)
{
    emit jobFinished({succeeded, m_appexer->wasCancelled(), m_appexer->failureText(),
                      m_appexer->failureDetail(), m_appexer->listingFile()});
    if (!m_appexer->isBusy() && m_pendingRead)
        std::exchange(m_pendingRead, {})();
}
