#include "cataloguecontroller.h"

#include "appexer.h"

CatalogueController::CatalogueController(Appexer *appexer, ListingLoader *loader, QObject *parent)
    : QObject(parent)
    , m_appexer(appexer)
    , m_loader(loader)
    , m_bundleCheck(new MissingBundleCheck(this))
{
    // The tool's listing is shown at once; the check of its bundles follows,
    // and the job ends with it.
    connect(m_bundleCheck, &MissingBundleCheck::finished, this,
            [this](const QSet<QByteArray> &paths) {
                m_appexer->addProblem(paths, AppexProblem::Missing);
                finish(true);
                emit busyChanged(false);
            });
    connect(loader, &ListingLoader::busyChanged, this, [this] { emit busyChanged(isBusy()); });
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

void CatalogueController::setElection(const QString &target, ElectionChoice choice, qint64 sortCode,
                                      ElectionTarget kind)
{
    if (isBusy())
        return;
    m_appexer->sortAppexList(sortCode);
    m_election = Election{target, choice, kind, QString(), QString()};
    m_election->name = electedName();
    m_loader->elect(target, choice, kind);
}

QString CatalogueController::electedName() const
{
    const AppexField field =
        m_election->kind == ElectionTarget::Copy ? AppexField::Uuid : AppexField::Identifier;
    for (const Appex &record : m_appexer->appexList()) {
        if (record.text(field) == m_election->target && !record.name().isEmpty())
            return record.name();
    }
    return m_election->target;
}

bool CatalogueController::electionHeld() const
{
    if (m_election->choice == ElectionChoice::Default)
        return true;
    const AppexElection wanted =
        m_election->choice == ElectionChoice::Use ? AppexElection::Use : AppexElection::Ignore;
    const AppexField field =
        m_election->kind == ElectionTarget::Copy ? AppexField::Uuid : AppexField::Identifier;
    bool found = false;
    for (const Appex &record : m_appexer->appexList()) {
        if (record.text(field) != m_election->target)
            continue;
        found = true;
        if (record.election() != wanted)
            return false;
    }
    return found;
}

void CatalogueController::read(Purpose purpose, const QString &fileName, qint64 sortCode)
{
    if (isBusy())
        return;
    m_purpose = purpose;
    m_file = fileName;
    m_appexer->sortAppexList(sortCode); // a sort picked meanwhile sorts the listing that comes
    if (purpose == Purpose::ToolListing)
        m_loader->readTool(m_copies);
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
        if (m_purpose == Purpose::ToolListing && MissingBundleCheck::isAvailable() &&
            !m_appexer->appexList().isEmpty()) {
            m_bundleCheck->start(m_appexer->appexList());
            emit busyChanged(true);
            return;
        }
    } else if (m_purpose == Purpose::ToolListing && !m_loader->wasCancelled()) {
        m_appexer->setListing({}, {}, QString(),
                              m_appexer->sortCode()); // a failed refresh leaves nothing
    }
    finish(succeeded);
}

void CatalogueController::electionFinished(bool succeeded)
{
    if (succeeded) {
        m_election->toolOutput = m_loader->failureDetail();
        refresh(m_appexer->sortCode()); // shows the election's effect
        return;
    }
    const QString sentence =
        m_election->choice == ElectionChoice::Ignore ? tr("Could not disable \u201C%1\u201D: %2")
        : m_election->choice == ElectionChoice::Use  ? tr("Could not enable \u201C%1\u201D: %2")
                                                     : tr("Could not reset \u201C%1\u201D: %2");
    m_failureText = m_loader->wasCancelled()
                        ? m_loader->failureText()
                        : sentence.arg(m_election->name, m_loader->failureText());
    m_failureDetail = m_loader->failureDetail();
    m_election.reset();
    emit jobFinished(false);
}

void CatalogueController::finish(bool succeeded)
{
    m_failureText = m_loader->failureText();
    m_failureDetail = m_loader->failureDetail();
    if (m_election && succeeded && !electionHeld()) {
        m_failureText =
            tr("macOS did not keep the change for \u201C%1\u201D.").arg(m_election->name);
        m_failureDetail = m_election->toolOutput;
        succeeded = false;
    }
    m_election.reset();
    emit jobFinished(succeeded);
}

void CatalogueController::cancel()
{
    if (!m_bundleCheck->isRunning()) {
        m_loader->cancel();
        return;
    }
    m_bundleCheck->cancel(); // the listing stays, without the check
    finish(true);
    emit busyChanged(false);
}
