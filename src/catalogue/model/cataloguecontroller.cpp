#include "cataloguecontroller.h"

#include "appexer.h"
#include "commandjob.h"
#include "historykeeper.h"
#include "missingbundlecheck.h"

namespace {

// Whether a copy at `path` is among `records`. A listing ends a path at a
// line end: of a path that holds one, its first line is what is listed.
bool listsPath(const AppexList &records, const QString &path)
{
    const QString listed = path.section(u'\n', 0, 0);
    return std::any_of(records.begin(), records.end(),
                       [&](const Appex &record) { return record.path() == listed; });
}

// What pluginkit -r says of a path it lists no copy at.
bool saysNotRegistered(const JobFailure &failure)
{
    return failure.detail.contains(QLatin1String("remove: no plugin at"));
}

// Why the tool did not make `registration`, for the user.
JobFailure registrationFailure(const Registration &registration, JobFailure failure)
{
    if (failure.cancelled)
        return failure;
    const bool unregistering = registration.action == Registration::Action::Unregister;
    if (unregistering && saysNotRegistered(failure)) {
        failure.text = CatalogueController::tr(
                           "No copy is registered at %1; it may have been removed already.")
                           .arg(registration.path);
        return failure;
    }
    failure.text =
        (unregistering ? CatalogueController::tr("Could not remove the registration of %1: %2")
                       : CatalogueController::tr("Could not register %1: %2"))
            .arg(registration.path, failure.text);
    return failure;
}

} // namespace

CatalogueController::CatalogueController(Appexer *appexer, QString toolPath, ListingLimits limits,
                                         QObject *parent)
    : QObject(parent)
    , m_appexer(appexer)
    , m_toolPath(std::move(toolPath))
    , m_limits(limits)
    , m_bundleCheck(new MissingBundleCheck(this))
    , m_keeper(new HistoryKeeper(this))
{
    connect(m_bundleCheck, &MissingBundleCheck::finished, this,
            &CatalogueController::bundlesChecked);
    connect(m_keeper, &HistoryKeeper::kept, this, &CatalogueController::historyKept);
}

CatalogueController::~CatalogueController() = default;

std::unique_ptr<ListingJob> CatalogueController::toolListing() const
{
    return ListingJob::ofTool(m_toolPath, m_copies, m_limits);
}

void CatalogueController::getAppexes()
{
    if (!isBusy())
        startListing(toolListing(), State::Listing);
}

void CatalogueController::openListing(const QString &file)
{
    if (isBusy()) {
        m_next = [this, file] { openListing(file); };
        return;
    }
    startListing(ListingJob::ofFile(file, m_limits), State::Listing, file);
}

void CatalogueController::compareWithListing(const QString &file)
{
    if (isBusy()) {
        m_next = [this, file] { compareWithListing(file); };
        return;
    }
    startListing(ListingJob::ofFile(file, m_limits), State::Comparing, file);
}

void CatalogueController::startListing(std::unique_ptr<ListingJob> job, State state,
                                       const QString &file)
{
    m_listingJob = std::move(job);
    connect(m_listingJob.get(), &ListingJob::finished, this, &CatalogueController::listingEnded);
    setState(state, ListingHistory::keptAt(file)
                        ? tr("Reading \u201C%1\u201D").arg(ListingHistory::shownName(file))
                        : m_listingJob->description());
    m_listingJob->start();
}

void CatalogueController::elect(const Election &election)
{
    if (isBusy())
        return;
    const AppexField field =
        election.kind == Election::Target::Copy ? AppexField::Uuid : AppexField::Identifier;
    PendingElection pending{election,
                            election.target,
                            election.kind == Election::Target::Identifier ? election.target
                                                                          : QString(),
                            {},
                            {}};
    for (const Appex &record : m_appexer->appexList()) {
        if (record.text(field) != election.target)
            continue;
        pending.identifier = record.identifier();
        pending.path = record.path();
        if (!record.name().isEmpty())
            pending.name = record.name();
        break;
    }
    m_election = pending;
    startCommand(election.toolArguments(), State::Electing, &CatalogueController::electionEnded);
}

void CatalogueController::changeRegistration(const Registration &registration)
{
    if (isBusy())
        return;
    m_registration = registration;
    startCommand(registration.toolArguments(), State::Registering,
                 &CatalogueController::registrationEnded);
}

void CatalogueController::cleanUp(const CleanupPlan &plan)
{
    if (isBusy())
        return;
    m_cleanup = PendingCleanup{plan.steps(), {}};
    startNextRemoval();
}

void CatalogueController::startNextRemoval()
{
    const qsizetype done = m_cleanup->failures.size();
    emit progress(done, m_cleanup->steps.size());
    if (done < m_cleanup->steps.size()) {
        startCommand(m_cleanup->steps[done].removal.toolArguments(), State::CleaningUp,
                     &CatalogueController::removalEnded);
        return;
    }
    // One listing for them all: whether each removal held.
    startListing(ListingJob::ofTool(m_toolPath, ListingJob::Copies::All, m_limits), State::Listing);
}

void CatalogueController::removalEnded(const JobResult<QString> &result)
{
    dispose(m_commandJob.release());
    const auto *failure = std::get_if<JobFailure>(&result);
    if (failure && failure->cancelled) {
        finish({cleanupCutShort(*failure), {}});
        return;
    }
    std::optional<QString> reason;
    if (failure)
        reason = saysNotRegistered(*failure)
                     ? tr("not registered; it may have been removed already")
                 : failure->detail.isEmpty() ? failure->text
                                             : failure->detail.section(u'\n', -1);
    m_cleanup->failures << reason;
    startNextRemoval();
}

void CatalogueController::startCommand(
    const QStringList &arguments, State state,
    void (CatalogueController::*ended)(const JobResult<QString> &))
{
    m_commandJob = std::make_unique<CommandJob>(m_toolPath, arguments, m_limits.timeout);
    connect(m_commandJob.get(), &CommandJob::finished, this, ended);
    setState(state, m_commandJob->description());
    m_commandJob->start();
}

// Keeping a listing is not stopped: it ends on its own, and stopping it
// would leave the listing shown unkept for nothing.
void CatalogueController::cancel()
{
    if (m_listingJob)
        m_listingJob->cancel();
    else if (m_commandJob)
        m_commandJob->cancel();
    else if (m_state == State::CheckingBundles) {
        // The listing stays, without the check; a change it checks is still
        // told of, and nothing more is read.
        m_bundleCheck->cancel();
        m_previous.reset();
        bundlesChecked({});
    }
}

void CatalogueController::listingEnded(ListingResult &result)
{
    // The job is in the middle of telling this: it goes once it is done, or
    // with the controller, if no event loop runs after it.
    dispose(m_listingJob.release());
    const State state = m_state;
    if (state == State::ReadingHistory) {
        historyRead(result);
        return;
    }
    if (auto *failure = std::get_if<JobFailure>(&result)) {
        m_election.reset(); // its listing failed: whether it held is unknown
        finish({m_cleanup ? cleanupCutShort(std::move(*failure)) : std::move(*failure), {}});
        return;
    }
    Listing &listing = std::get<Listing>(result);
    if (state == State::Comparing) {
        m_appexer->setBaseline(std::move(listing));
        finish({});
        return;
    }
    const bool fromTool = listing.file.isEmpty();
    // Only listings of the copies in use are kept: the bytes of one of every
    // copy are its second run's, which hold copies the others do not and do
    // not tell which is used, so the two kinds would differ in every copy.
    const bool everyCopy =
        std::any_of(listing.records.cbegin(), listing.records.cend(),
                    [](const Appex &record) { return record.active().has_value(); });
    const bool kept = fromTool && m_history && !everyCopy;
    m_keptFileShown = ListingHistory::keptAt(listing.file) ? listing.file : QString();
    if (kept)
        m_keeper->keep(*m_history, listing.bytes, listing.records.size(),
                       QDateTime::currentDateTimeUtc());
    m_appexer->setListing(std::move(listing));
    if (kept) {
        setState(State::KeepingHistory, tr("Keeping the listing in the history"));
        return;
    }
    checkBundles(fromTool);
}

void CatalogueController::historyKept(const ListingHistory::Kept &kept)
{
    if (kept.warning)
        emit warning(*kept.warning);
    m_keptFileShown = kept.entry ? kept.entry->file : QString();
    const bool asked = !m_election && !m_registration && !m_cleanup; // by getAppexes()
    if (m_tellsChangesSince && asked)
        m_previous = kept.before;
    checkBundles(true);
}

void CatalogueController::checkBundles(bool fromTool)
{
    if (fromTool && MissingBundleCheck::isAvailable()) {
        setState(State::CheckingBundles, m_busyText);
        m_bundleCheck->start(m_appexer->appexList());
        return;
    }
    bundlesChecked({});
}

void CatalogueController::bundlesChecked(const QSet<QByteArray> &missingPaths)
{
    m_appexer->addProblem(missingPaths, AppexProblem::Missing);
    if (m_previous) {
        startListing(ListingJob::ofFile(m_previous->file, m_limits), State::ReadingHistory,
                     m_previous->file);
        return;
    }
    finish(m_election       ? electionOutcome()
           : m_registration ? registrationOutcome()
           : m_cleanup      ? cleanupOutcome()
                            : Outcome{});
}

// The listing kept before the one shown, read to tell what changed since; a
// kept listing that cannot be read is a warning, the listing shown no less good.
void CatalogueController::historyRead(ListingResult &result)
{
    const ListingHistory::Entry previous = *std::exchange(m_previous, std::nullopt);
    if (const auto *failure = std::get_if<JobFailure>(&result)) {
        if (!failure->cancelled)
            emit warning(tr("The listing kept at %1 could not be compared with: %2")
                             .arg(previous.file, failure->text));
        finish({});
        return;
    }
    const Listing &older = std::get<Listing>(result);
    finish({{},
            ListingHistory::changesSince(previous.time,
                                         compareListings(older.records, m_appexer->appexList()))});
}

void CatalogueController::electionEnded(const JobResult<QString> &result)
{
    dispose(m_commandJob.release());
    if (const auto *failure = std::get_if<JobFailure>(&result)) {
        const Election::Choice choice = m_election->election.choice;
        const QString sentence =
            choice == Election::Choice::Ignore ? tr("Could not disable \u201C%1\u201D: %2")
            : choice == Election::Choice::Use  ? tr("Could not enable \u201C%1\u201D: %2")
                                               : tr("Could not reset \u201C%1\u201D: %2");
        JobFailure worded = *failure;
        if (!failure->cancelled)
            worded.text = sentence.arg(m_election->name, failure->text);
        m_election.reset();
        finish({worded, {}});
        return;
    }
    m_election->toolOutput = std::get<QString>(result);
    startListing(toolListing(), State::Listing); // shows whether the system kept it
}

void CatalogueController::registrationEnded(const JobResult<QString> &result)
{
    dispose(m_commandJob.release());
    if (const auto *failure = std::get_if<JobFailure>(&result)) {
        finish({registrationFailure(*m_registration, *failure), {}});
        return;
    }
    // A copy that is registered but not in use is listed only among every copy.
    startListing(ListingJob::ofTool(m_toolPath, ListingJob::Copies::All, m_limits), State::Listing);
}

CatalogueController::Outcome CatalogueController::registrationOutcome() const
{
    const Registration &registration = *m_registration;
    const bool listed = listsPath(m_appexer->appexList(), registration.path);
    if (registration.action == Registration::Action::Register)
        return listed
                   ? Outcome{{}, tr("Registered %1.").arg(registration.path)}
                   : Outcome{JobFailure{tr("macOS does not list %1.").arg(registration.path), {}},
                             {}};
    return listed ? Outcome{JobFailure{tr("macOS still lists %1.").arg(registration.path), {}}, {}}
                  : Outcome{{}, tr("Removed the registration of %1.").arg(registration.path)};
}

JobFailure CatalogueController::cleanupCutShort(JobFailure failure) const
{
    const qsizetype total = m_cleanup->steps.size();
    if (failure.cancelled) {
        failure.text = tr("Stopped after %1 of %2 removals; list again to see what they changed.")
                           .arg(m_cleanup->failures.size())
                           .arg(total);
        return failure;
    }
    const qsizetype done = m_cleanup->failures.count(std::nullopt);
    failure.text = tr("%1 of %2 removals were done, but the listing that checks them failed: %3")
                       .arg(done)
                       .arg(total)
                       .arg(failure.text);
    return failure;
}

CatalogueController::Outcome CatalogueController::cleanupOutcome() const
{
    const PendingCleanup &cleanup = *m_cleanup;
    if (cleanup.steps.isEmpty())
        return {{}, CleanupPlan::noneText()};
    QStringList failed;
    for (qsizetype i = 0; i < cleanup.steps.size(); ++i) {
        const QString &path = cleanup.steps[i].removal.path;
        std::optional<QString> reason = cleanup.failures[i];
        if (!reason && listsPath(m_appexer->appexList(), path))
            reason = tr("macOS still lists it");
        if (reason)
            failed << tr("%1: %2").arg(path, *reason);
    }
    const qsizetype removed = cleanup.steps.size() - failed.size();
    const QString done =
        removed == 1 ? tr("Removed 1 registration.") : tr("Removed %1 registrations.").arg(removed);
    if (failed.isEmpty())
        return {{}, done};
    return {
        JobFailure{
            tr("%1 %2 failed: %3").arg(done, QString::number(failed.size()), failed.join(u"; ")),
            {}},
        {}};
}

// Whether the listing shows what was elected, and which copy the system
// uses now.
CatalogueController::Outcome CatalogueController::electionOutcome() const
{
    const PendingElection &pending = *m_election;
    const Election &election = pending.election;
    const auto notKept = [&pending](const QString &text) {
        return Outcome{JobFailure{text, pending.toolOutput}, {}};
    };
    const AppexElection wanted =
        election.choice == Election::Choice::Use ? AppexElection::Use : AppexElection::Ignore;
    const Appex *elected = nullptr;
    const Appex *inUse = nullptr;
    bool held = true;
    for (const Appex &record : m_appexer->appexList()) {
        if (record.identifier() != pending.identifier)
            continue;
        // Without every copy, those listed are the ones in use.
        if (!inUse && record.active().value_or(true))
            inUse = &record;
        if (election.kind == Election::Target::Identifier || record.uuid() == election.target) {
            elected = &record;
            held = held && record.election() == wanted;
        }
    }
    if (election.kind == Election::Target::Identifier) {
        if (election.choice != Election::Choice::Default && !(elected && held))
            return notKept(
                tr("macOS did not keep the change for \u201C%1\u201D.").arg(pending.name));
        const QString done =
            election.choice == Election::Choice::Use      ? tr("Enabled \u201C%1\u201D.")
            : election.choice == Election::Choice::Ignore ? tr("Disabled \u201C%1\u201D.")
                                                          : tr("Reset \u201C%1\u201D.");
        return {{}, done.arg(pending.name)};
    }
    switch (election.choice) {
    case Election::Choice::Use:
        if (elected && inUse == elected && held)
            return {{}, tr("Now using the copy at %1.").arg(pending.path)};
        if (inUse)
            return notKept(tr("macOS kept using the copy at %1.").arg(inUse->path()));
        return notKept(tr("macOS did not keep the change for \u201C%1\u201D.").arg(pending.name));
    case Election::Choice::Ignore:
        if (elected && !held)
            return notKept(
                tr("macOS did not keep the change for \u201C%1\u201D.").arg(pending.name));
        if (inUse && inUse != elected)
            return {{}, tr("Now using the copy at %1.").arg(inUse->path())};
        return {{}, tr("Disabled the copy at %1.").arg(pending.path)};
    case Election::Choice::Default:
        break;
    }
    return {{}, tr("Reset the copy at %1.").arg(pending.path)};
}

void CatalogueController::dispose(QObject *job)
{
    job->setParent(this);
    job->deleteLater();
}

void CatalogueController::setState(State state, QString busyText)
{
    m_busyText = std::move(busyText);
    if (std::exchange(m_state, state) != state)
        emit stateChanged(state);
}

void CatalogueController::finish(Outcome outcome)
{
    m_election.reset();
    m_registration.reset();
    m_cleanup.reset();
    m_previous.reset();
    setState(State::Idle);
    emit finished(outcome);
    if (!isBusy() && m_next)
        std::exchange(m_next, {})();
}
