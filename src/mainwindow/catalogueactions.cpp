#include "catalogueactions.h"

#include <QFileInfo>

CatalogueActions::CatalogueActions(Appexer *appexer, QString toolPath, ListingLimits limits,
                                   qint64 sortCode, QObject *parent)
    : QObject(parent)
    , m_appexer(appexer)
    , m_controller(new CatalogueController(
          appexer, new ListingLoader(std::move(toolPath), limits, this), this))
    , m_sortCode(sortCode)
{
    connect(m_controller, &CatalogueController::busyChanged, this, &CatalogueActions::busyChanged);
    connect(m_controller, &CatalogueController::jobFinished, this, &CatalogueActions::finish);
}

void CatalogueActions::getAppexes()
{
    m_controller->refresh(m_sortCode);
}

void CatalogueActions::openListing(const QString &file)
{
    readListing(file,
                [this](const QString &listing) { m_controller->openListing(listing, m_sortCode); });
}

void CatalogueActions::compareWithListing(const QString &file)
{
    readListing(file, [this](const QString &older) { m_controller->compareWithListing(older); });
}

void CatalogueActions::clearComparison()
{
    m_appexer->clearComparison();
}

void CatalogueActions::setCopies(ListingLoader::Copies copies)
{
    m_controller->setCopies(copies);
}

void CatalogueActions::elect(const QString &target, CatalogueController::ElectionChoice choice,
                             CatalogueController::ElectionTarget kind)
{
    m_controller->setElection(target, choice, m_sortCode, kind);
}

void CatalogueActions::sortBy(qint64 sortCode)
{
    if (sortCode == m_sortCode)
        return;
    m_sortCode = sortCode;
    m_appexer->sortAppexList(m_sortCode);
}

void CatalogueActions::setFieldOrder(std::optional<Appexer::FieldOrder> order)
{
    m_appexer->setFieldOrder(order);
}

void CatalogueActions::cancel()
{
    m_controller->cancel();
}

// One that is not a regular file, a FIFO say, is refused, as reading it
// could hold the window up.
void CatalogueActions::readListing(const QString &file, const std::function<void(QString)> &read)
{
    if (m_controller->isBusy()) {
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
    emit jobFinished({succeeded, m_controller->wasCancelled(), m_controller->failureText(),
                      m_controller->failureDetail(), m_appexer->listingFile()});
    if (!m_controller->isBusy() && m_pendingRead)
        std::exchange(m_pendingRead, {})();
}
