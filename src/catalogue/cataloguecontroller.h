#pragma once

#include "listingloader.h"
#include "missingbundlecheck.h"

#include <QObject>

#include <optional>

class Appexer;

// Ties a window's catalogue to the loader that fills it: a listing read
// replaces the records (or, read to compare, marks them), a failed refresh
// empties the catalogue, and an election is followed by a listing that shows
// its effect. Every request ends in one jobFinished(), an election's only
// after the listing that follows it.
class CatalogueController : public QObject
{
    Q_OBJECT

public:
    using ElectionChoice = ListingLoader::ElectionChoice;
    using ElectionTarget = ListingLoader::ElectionTarget;

    CatalogueController(Appexer *appexer, ListingLoader *loader, QObject *parent = nullptr);

    [[nodiscard]] Appexer *appexer() const { return m_appexer; }
    [[nodiscard]] ListingLoader *loader() const { return m_loader; }

    // Runs the listing tool; replaces the records with its listing's, sorted
    // by `sortCode`. When it fails the catalogue is emptied; when it is
    // cancelled nothing changes.
    void refresh(qint64 sortCode);
    // The same for a captured listing; when it cannot be read the records
    // stay as they were.
    void openListing(const QString &fileName, qint64 sortCode);
    // Which copies the tool's listings hold; those in use by default.
    void setCopies(ListingLoader::Copies copies) { m_copies = copies; }
    // Elects every copy of `target`, an identifier, or one copy, by its UUID,
    // then refreshes, and checks that the system kept the change: when the
    // listing shows otherwise, the election fails.
    void setElection(const QString &target, ElectionChoice choice, qint64 sortCode,
                     ElectionTarget kind = ElectionTarget::Identifier);
    // Marks the records against the captured listing in `fileName`.
    void compareWithListing(const QString &fileName);
    void cancel();

    [[nodiscard]] bool isBusy() const { return m_loader->isBusy() || m_bundleCheck->isRunning(); }
    [[nodiscard]] QString busyText() const { return m_loader->busyText(); }
    [[nodiscard]] QString failureText() const { return m_failureText; }
    [[nodiscard]] QString failureDetail() const { return m_failureDetail; }
    [[nodiscard]] bool wasCancelled() const { return m_loader->wasCancelled(); }

signals:
    void busyChanged(bool busy);
    void jobFinished(bool succeeded);

private:
    enum class Purpose { ToolListing, FileListing, Baseline };

    void read(Purpose purpose, const QString &fileName, qint64 sortCode);
    void listingFinished(bool succeeded);
    void electionFinished(bool succeeded);
    void finish(bool succeeded);
    // The name of what is elected, as the catalogue knows it.
    [[nodiscard]] QString electedName() const;
    // Whether the listing shows the elected state; true for "default", whose
    // state is the system's to choose.
    [[nodiscard]] bool electionHeld() const;

    Appexer *m_appexer;
    ListingLoader *m_loader;
    MissingBundleCheck *m_bundleCheck;
    Purpose m_purpose = Purpose::ToolListing;
    QString m_file;
    ListingLoader::Copies m_copies = ListingLoader::Copies::InUse;
    QString m_failureText;
    QString m_failureDetail;
    // The election whose listing runs, if one does.
    struct Election
    {
        QString target;
        ElectionChoice choice;
        ElectionTarget kind;
        QString name;
        QString toolOutput;
    };
    std::optional<Election> m_election;
};
