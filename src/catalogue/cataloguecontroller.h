#pragma once

#include "listingloader.h"

#include <QObject>

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
    // Elects `identifier` with the listing tool, then refreshes.
    void setElection(const QString &identifier, ElectionChoice choice, qint64 sortCode);
    // Marks the records against the captured listing in `fileName`.
    void compareWithListing(const QString &fileName);
    void cancel() { m_loader->cancel(); }

    [[nodiscard]] bool isBusy() const { return m_loader->isBusy(); }
    [[nodiscard]] QString busyText() const { return m_loader->busyText(); }
    [[nodiscard]] QString failureText() const { return m_loader->failureText(); }
    [[nodiscard]] QString failureDetail() const { return m_loader->failureDetail(); }
    [[nodiscard]] bool wasCancelled() const { return m_loader->wasCancelled(); }

signals:
    void busyChanged(bool busy);
    void jobFinished(bool succeeded);

private:
    enum class Purpose { ToolListing, FileListing, Baseline };

    void read(Purpose purpose, const QString &fileName, qint64 sortCode);
    void listingFinished(bool succeeded);
    void electionFinished(bool succeeded);

    Appexer *m_appexer;
    ListingLoader *m_loader;
    Purpose m_purpose = Purpose::ToolListing;
    QString m_file;
};
