#pragma once

#include "appex.h"
#include "listingcomparison.h"
#include "listingjob.h"
#include "sortorder.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QHash>
#include <QPointer>

// The catalogue of one main window: the records of the last listing, and the
// moment the catalogue was made. It is the model of the window's list, one
// row per record: reset once per listing, its layout changed once per sort.
//
// A listing comes from the listing tool or from a file of a captured one, and
// is read as a job: nothing waits for it. One job runs at a time; asking for
// another while one runs does nothing. Every job ends in jobFinished().
//
// Compared with an older listing, the rows mark the records added or changed
// since, and the records removed since follow the catalogue's own.
class Appexer : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        RecordRole = Qt::UserRole, // the row's Appex
        IdRole,                    // the record's identity, a QUuid
        ChangeRole,                // an AppexChange, as an int
    };
    enum class ElectionChoice { Use, Ignore, Default };

    explicit Appexer(QString toolPath = defaultToolPath(), ListingLimits limits = {},
                     QObject *parent = nullptr);

    // The system's tool on macOS; elsewhere the stand-in installed with the app.
    [[nodiscard]] static QString defaultToolPath();

    [[nodiscard]] const AppexList &appexList() const { return m_records; }
    [[nodiscard]] QDateTime theDate() const { return m_theDate; }
    // The file of the captured listing shown; empty for the tool's.
    [[nodiscard]] QString listingFile() const { return m_listingFile; }
    // The listing's bytes exactly as read; empty unless kept.
    [[nodiscard]] const QByteArray &listing() const { return m_listing; }
    // Whether listings keep their bytes (the default) for saving them again.
    void setKeepsListing(bool keeps) { m_keepsListing = keeps; }

    // Runs the listing tool; replaces the records with its listing's, sorted
    // by `sortCode`. When it fails the catalogue is emptied; when it is
    // cancelled nothing changes.
    void refresh(qint64 sortCode);
    // The same for a captured listing (`fileName` "-" is standard input);
    // when it cannot be read the records stay as they were.
    void openListing(const QString &fileName, qint64 sortCode);
    // Elects `identifier` with the listing tool, then refreshes.
    void setElection(const QString &identifier, ElectionChoice choice, qint64 sortCode);
    // Marks the records against the captured listing in `fileName`.
    void compareWithListing(const QString &fileName);
    void clearComparison();
    void cancel();

    // refresh(), openListing() and setElection() waiting for the outcome:
    // true on success.
    [[nodiscard]] bool getAppexes(qint64 sortCode);
    [[nodiscard]] bool loadListing(const QString &fileName, qint64 sortCode);
    [[nodiscard]] bool elect(const QString &identifier, ElectionChoice choice, qint64 sortCode);

    void sortAppexList(qint64 sortCode);

    [[nodiscard]] bool isBusy() const { return m_job != nullptr; }
    // What the running job does, for the user: "Running pluginkit".
    [[nodiscard]] QString busyText() const { return m_busyText; }
    // Why the last job failed, in one sentence, and the tool's own words;
    // both empty after a success.
    [[nodiscard]] QString failureText() const { return m_failureText; }
    [[nodiscard]] QString failureDetail() const { return m_failureDetail; }
    // Whether the last job failed by being cancelled.
    [[nodiscard]] bool wasCancelled() const { return m_wasCancelled; }

    // The records in the order the listing gave them.
    [[nodiscard]] ListingRecords inListingOrder() const;

    [[nodiscard]] bool isComparing() const { return m_baseline.has_value(); }
    // The older listing's file, and how many records differ in each way.
    [[nodiscard]] QString baselineFile() const { return m_baselineFile; }
    [[nodiscard]] qsizetype changeCount(AppexChange change) const;

    // The record of a row and how it changed; rows past the catalogue's
    // records are the removed ones.
    [[nodiscard]] const Appex &recordAt(int row) const;
    [[nodiscard]] AppexChange changeAt(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;

signals:
    void busyChanged(bool busy);
    void jobFinished(bool succeeded);

private:
    enum class Outcome { Replace, Baseline, Elected };

    void startJob(std::unique_ptr<ListingSource> source, QString busyText, Outcome outcome,
                  const QString &file);
    void jobEnded(ListingJob *job, Outcome outcome, const QString &file);
    void replaceRecords(AppexList records, QByteArray listing, const QString &file);
    void compareRecords();
    [[nodiscard]] bool waitForJob();
    [[nodiscard]] std::unique_ptr<ListingSource> toolSource(QStringList arguments) const;

    const QString m_toolPath;
    const ListingLimits m_limits;
    const QDateTime m_theDate = QDateTime::currentDateTime();
    bool m_keepsListing = true;
    qint64 m_sortCode = 0;

    AppexList m_records;
    std::vector<qsizetype> m_listingPositions; // of the records, in the listing
    QByteArray m_listing;
    QString m_listingFile;

    std::optional<AppexList> m_baseline; // in listing order

    QString m_baselineFile;
    AppexList m_removed;
    QHash<QUuid, AppexChange> m_changes; // of the records added or changed

    QPointer<ListingJob> m_job;
    QString m_busyText;
    QString m_failureText;
    QString m_failureDetail;
    bool m_wasCancelled = false;
};

Q_DECLARE_METATYPE(Appex)
