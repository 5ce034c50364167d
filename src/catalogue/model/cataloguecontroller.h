#pragma once

#include "cleanupplan.h"
#include "election.h"
#include "jobfailure.h"
#include "listinghistory.h"
#include "listingjob.h"
#include "registration.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class Appexer;
class CommandJob;
class HistoryKeeper;
class MissingBundleCheck;

// Runs the jobs of one window's catalogue, one at a time, and puts what they
// read into it: a listing replaces the records (or, read to compare, marks
// them), an election or a change of registrations is followed by a listing
// that shows whether the system kept it. A failed or cancelled job leaves the
// records as they were. Every request ends in one finished(), a change's
// after the listing that checks it.
class CatalogueController : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        Listing,
        Comparing,
        Electing,
        Registering,
        CleaningUp,
        CheckingBundles,
        KeepingHistory,
        ReadingHistory
    };

    // How a request ended.
    struct Outcome
    {
        std::optional<JobFailure> failure; // none when it succeeded
        QString message;                   // what it did, when that is worth saying
    };

    CatalogueController(Appexer *appexer, QString toolPath, ListingLimits limits,
                        QObject *parent = nullptr);
    ~CatalogueController() override;

    [[nodiscard]] State state() const { return m_state; }
    [[nodiscard]] bool isBusy() const { return m_state != State::Idle; }
    // What the running job does, for the user: "Running pluginkit".
    [[nodiscard]] QString busyText() const { return m_busyText; }

    // Which copies the tool's listings hold from the next one on.
    void setCopies(ListingJob::Copies copies) { m_copies = copies; }
    // Where the tool's listings are kept from the next one on; none: not
    // kept. The listings must keep their bytes (ListingLimits::keepsListing).
    void setHistory(std::optional<ListingHistory> history) { m_history = std::move(history); }
    // Whether a listing asked for by getAppexes() ends telling what changed
    // since the newest listing kept before it ("Since 6 Dec 14:02: 2 added"),
    // which it reads after the listing, the listing already shown.
    void setTellsChangesSince(bool tells) { m_tellsChangesSince = tells; }
    // The kept file that holds the listing shown: the one it was kept in, or
    // the newest kept when that was the same, or the kept file opened; empty
    // for any other listing. Another window or program may have kept newer
    // ones since.
    [[nodiscard]] const QString &keptFileShown() const { return m_keptFileShown; }

    void getAppexes();
    // A captured listing; one asked for while a job runs is read once it ends.
    void openListing(const QString &file);
    // Marks the records against the captured listing in `file`, which they
    // keep across later listings until the comparison is cleared.
    void compareWithListing(const QString &file);
    void elect(const Election &election);
    // Registers a bundle, or removes a registration, then lists every copy
    // (whichever copies the catalogue held) to see whether the system did.
    void changeRegistration(const Registration &registration);
    // Removes the registrations of `plan`, one at a time, telling progress()
    // after each; then lists every copy once, and tells how many went and
    // which did not, and why. Cancelled, it stops before the next removal.
    void cleanUp(const CleanupPlan &plan);
    void cancel();

signals:
    void stateChanged(CatalogueController::State state);
    void finished(const CatalogueController::Outcome &outcome);
    // What went wrong beside a request, that does not make it fail: a
    // listing that could not be kept in the history.
    void warning(const QString &text);
    // Of a clean-up: how many of its removals have been run.
    void progress(qsizetype done, qsizetype total);

private:
    // An election made, and what the catalogue knew of its target before.
    struct PendingElection
    {
        Election election;
        QString name;       // of the extension, as the records name it
        QString identifier; // of what is elected
        QString path;       // of the elected copy
        QString toolOutput;
    };

    // Of a captured listing, `file` names it, so that a kept one is called
    // as the user knows it.
    void startListing(std::unique_ptr<ListingJob> job, State state, const QString &file = {});
    void listingEnded(ListingResult &result);
    void historyKept(const ListingHistory::Kept &kept);
    void checkBundles(bool fromTool);
    // A clean-up stopped, or whose listing after its removals failed, with
    // how many of them were run: what they changed is not known.
    [[nodiscard]] JobFailure cleanupCutShort(JobFailure failure) const;
    void electionEnded(const JobResult<QString> &result);
    void registrationEnded(const JobResult<QString> &result);
    void removalEnded(const JobResult<QString> &result);
    void startNextRemoval();
    [[nodiscard]] Outcome cleanupOutcome() const;
    [[nodiscard]] Outcome registrationOutcome() const;
    void startCommand(const QStringList &arguments, State state,
                      void (CatalogueController::*ended)(const JobResult<QString> &));
    void bundlesChecked(const QSet<QByteArray> &missingPaths);
    void historyRead(ListingResult &result);
    [[nodiscard]] Outcome electionOutcome() const;
    // Deletes a job that has ended, once it is done telling so.
    void dispose(QObject *job);
    void setState(State state, QString busyText = {});
    void finish(Outcome outcome);
    [[nodiscard]] std::unique_ptr<ListingJob> toolListing() const;

    Appexer *m_appexer;
    const QString m_toolPath;
    const ListingLimits m_limits;
    ListingJob::Copies m_copies = ListingJob::Copies::InUse;
    State m_state = State::Idle;
    QString m_busyText;
    std::unique_ptr<ListingJob> m_listingJob;
    std::unique_ptr<CommandJob> m_commandJob;
    MissingBundleCheck *m_bundleCheck;
    HistoryKeeper *m_keeper;
    std::optional<ListingHistory> m_history;
    QString m_keptFileShown;
    bool m_tellsChangesSince = false;
    std::optional<ListingHistory::Entry> m_previous; // to tell the changes since
    std::optional<PendingElection> m_election;
    std::optional<Registration> m_registration; // made, until the listing that checks it
    // A clean-up under way: its removals, and why each that failed did.
    struct PendingCleanup
    {
        QList<CleanupPlan::Step> steps;
        QList<std::optional<QString>> failures; // of the removals run so far
    };
    std::optional<PendingCleanup> m_cleanup;
    std::function<void()> m_next; // a listing asked for while a job ran
};
