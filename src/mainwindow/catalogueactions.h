#pragma once

#include "appexer.h"
#include "cataloguecontroller.h"

#include <QObject>

#include <functional>

// Everything the window asks of its catalogue's jobs: listing with the tool,
// reading a captured listing, comparing, electing, sorting and stopping, and
// how each job ended. A listing asked for while a job runs is read once it
// ends.
class CatalogueActions : public QObject
{
    Q_OBJECT

public:
    // How a job ended, as the window tells it.
    struct Outcome
    {
        bool succeeded = false;
        bool cancelled = false;
        QString failureText;
        QString failureDetail;
        QString listingFile; // empty for the tool's listing
    };

    // Lists with the tool at `toolPath`, within `limits`.
    CatalogueActions(Appexer *appexer, QString toolPath, ListingLimits limits, qint64 sortCode,
                     QObject *parent = nullptr);

    [[nodiscard]] const CatalogueController &controller() const { return *m_controller; }
    [[nodiscard]] bool isBusy() const { return m_controller->isBusy(); }
    [[nodiscard]] QString busyText() const { return m_controller->busyText(); }
    [[nodiscard]] qint64 sortCode() const { return m_sortCode; }

    void getAppexes();
    void openListing(const QString &file);
    void compareWithListing(const QString &file);
    void clearComparison();
    // Which copies the tool's listings hold from the next one on.
    void setCopies(ListingLoader::Copies copies);
    // Elects every copy of an identifier, or one copy by its UUID.
    void elect(const QString &target, CatalogueController::ElectionChoice choice,
               CatalogueController::ElectionTarget kind);
    // Also with nothing to sort: a listing read meanwhile is sorted so.
    void sortBy(qint64 sortCode);
    // Orders the rows by a field instead of the sort code, or by it again.
    void setFieldOrder(std::optional<Appexer::FieldOrder> order);
    void cancel();

signals:
    void busyChanged(bool busy);
    void jobFinished(const CatalogueActions::Outcome &outcome);
    // A file that cannot be read as a listing, with the reason why.
    void refused(const QString &message);

private:
    void readListing(const QString &file, const std::function<void(QString)> &read);
    void finish(bool succeeded);

    Appexer *m_appexer;
    CatalogueController *m_controller;
    qint64 m_sortCode;
    std::function<void()> m_pendingRead; // a listing chosen while a job ran
};
