#pragma once

#include "appex.h"
#include "listingparser.h"

#include <QObject>

#include <chrono>
#include <memory>

class ListingSource;

// Bounds on reading one listing, and what of it is kept.
struct ListingLimits
{
    std::chrono::milliseconds timeout = std::chrono::seconds(60); // for the tool
    qsizetype maxBytes = qsizetype(256) * 1024 * 1024;
    qsizetype maxRecords = 1'000'000;
    // Whether the listing's bytes are kept whole, to be saved again; or only
    // its records, in less memory.
    bool keepsListing = true;
};

// Reads one listing from a source into records: the bytes are checked as
// UTF-8 and parsed as they arrive, within the limits; a source that knows its
// size beyond them is refused before anything is read. Ends with finished(),
// once, whether it succeeded, failed or was cancelled.
class ListingJob : public QObject
{
    Q_OBJECT

public:
    ListingJob(std::unique_ptr<ListingSource> source, ListingLimits limits,
               QObject *parent = nullptr);
    ~ListingJob() override;

    void start();
    // Stops the source; finished() follows at once, with `wasCancelled()`.
    void cancel();

    [[nodiscard]] bool succeeded() const { return m_failureText.isEmpty(); }
    [[nodiscard]] bool wasCancelled() const { return m_cancelled; }
    // Why the listing failed, in one sentence, and what the tool said.
    [[nodiscard]] QString failureText() const { return m_failureText; }
    [[nodiscard]] QString failureDetail() const { return m_failureDetail; }

    // What a successful job read: the records, and the listing's bytes, which
    // they share. Taken once.
    [[nodiscard]] AppexList takeRecords() { return std::exchange(m_records, {}); }
    [[nodiscard]] QByteArray takeListing() { return std::exchange(m_listing, {}); }

signals:
    void finished();

private:
    void addBytes(QByteArrayView bytes);
    void sizeKnown(qint64 bytes);
    void check(QByteArrayView bytes);
    void sourceFinished(const QString &failureText, const QString &detail);
    void stop(const QString &failureText);
    void end(const QString &failureText, const QString &detail);
    [[nodiscard]] QString tooManyRecords() const;
    [[nodiscard]] QString tooManyBytes() const;

    std::unique_ptr<ListingSource> m_source;
    const ListingLimits m_limits;

    qsizetype m_bytesRead = 0;
    QByteArray m_pending; // the start of a character cut by the end of a piece
    bool m_invalidText = false;
    ListingParser m_parser;

    bool m_ended = false;
    bool m_cancelled = false;
    QString m_failureText = tr("The listing has not been read.");
    QString m_failureDetail;
    AppexList m_records;
    QByteArray m_listing;
};
