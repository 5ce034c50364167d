#pragma once

#include "appex.h"
#include "listingjob.h"

#include <QObject>
#include <QPointer>

// Reads listings and makes elections, one job at a time, as jobs that never
// wait: the listing tool's listing, a captured listing from a file, or an
// election with the tool. Asking for a job while one runs does nothing.
// A listing ends in listingFinished(), an election in electionFinished().
class ListingLoader : public QObject
{
    Q_OBJECT

public:
    enum class ElectionChoice { Use, Ignore, Default };
    // The copies a listing holds: those the system uses (what `pluginkit -m
    // -vv` prints), or every copy, each marked in use or not.
    enum class Copies { InUse, All };

    explicit ListingLoader(QString toolPath = defaultToolPath(), ListingLimits limits = {},
                           QObject *parent = nullptr);

    // The system's tool on macOS; elsewhere the stand-in installed with the app.
    [[nodiscard]] static QString defaultToolPath();

    // The listing tool's listing. Every copy takes two runs of the tool: of
    // every copy, then of those in use.
    void readTool(Copies copies = Copies::InUse);
    // A captured listing (`fileName` "-" is standard input).
    void readFile(const QString &fileName);
    // Elects with the listing tool every copy of an identifier, or, by its
    // UUID, one copy.
    enum class ElectionTarget { Identifier, Copy };
    void elect(const QString &target, ElectionChoice choice,
               ElectionTarget kind = ElectionTarget::Identifier);
    void cancel();

    [[nodiscard]] bool isBusy() const { return m_job != nullptr; }
    // What the running job does, for the user: "Running pluginkit".
    [[nodiscard]] QString busyText() const { return m_busyText; }
    // Why the last job failed, in one sentence, and the tool's own words;
    // both empty after a success.
    [[nodiscard]] QString failureText() const { return m_failureText; }
    [[nodiscard]] QString failureDetail() const { return m_failureDetail; }
    // Whether the last job failed by being cancelled.
    [[nodiscard]] bool wasCancelled() const { return m_wasCancelled; }

    // What the last listing read: its records and bytes, and its file (empty
    // for the tool's). Taken once.
    [[nodiscard]] AppexList takeRecords() { return std::exchange(m_records, {}); }
    [[nodiscard]] QByteArray takeListing() { return std::exchange(m_listing, {}); }

signals:
    void busyChanged(bool busy);
    void listingFinished(bool succeeded);
    void electionFinished(bool succeeded);

private:
    enum class Kind { Listing, AllCopies, InUse, Election };

    void start(std::unique_ptr<ListingSource> source, QString busyText, Kind kind);
    void ended(ListingJob *job, Kind kind);
    [[nodiscard]] std::unique_ptr<ListingSource> toolSource(QStringList arguments) const;

    const QString m_toolPath;
    const ListingLimits m_limits;

    QPointer<ListingJob> m_job;
    QString m_busyText;
    QString m_failureText;
    QString m_failureDetail;
    bool m_wasCancelled = false;
    AppexList m_records;
    QByteArray m_listing;
};
