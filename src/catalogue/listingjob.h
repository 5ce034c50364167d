#pragma once

#include "appex.h"
#include "listingparser.h"

#include <QObject>
#include <QStringDecoder>

#include <chrono>
#include <memory>

class ListingSource;

// Bounds on reading one listing.
struct ListingLimits
{
    std::chrono::milliseconds timeout = std::chrono::seconds(60); // for the tool
    qsizetype maxBytes = qsizetype(256) * 1024 * 1024;
    qsizetype maxRecords = 1'000'000;
};

// Reads one listing from a source into records: the bytes are checked as
// UTF-8 and parsed as they arrive, within the limits. Ends with finished(),
// once, whether it succeeded, failed or was cancelled.
class ListingJob : public QObject
{
    Q_OBJECT

public:
    // `keepListing`: keep the listing's bytes, as the source gave them.
    ListingJob(std::unique_ptr<ListingSource> source, ListingLimits limits, bool keepListing,
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

    // What a successful job read. Taken once.
    [[nodiscard]] AppexList takeRecords() { return std::exchange(m_records, {}); }
    [[nodiscard]] QByteArray takeListing() { return std::exchange(m_listing, {}); }

    static inline const QString cancelledText = QStringLiteral("The listing was cancelled.");

signals:
    void finished();

private:
    void addBytes(QByteArrayView bytes);
    void decode(QByteArrayView bytes);
    void sourceFinished(const QString &failureText, const QString &detail);
    void stop(const QString &failureText);
    void end(const QString &failureText, const QString &detail);
    [[nodiscard]] QString tooManyRecords() const;

    std::unique_ptr<ListingSource> m_source;
    const ListingLimits m_limits;
    const bool m_keepListing;

    qsizetype m_bytesRead = 0;
    QByteArray m_pending; // the start of a character cut by the end of a piece
    QStringDecoder m_decoder;
    QString m_text; // the decoded piece; reused, as fresh memory costs more than decoding
    bool m_atStart = true;
    bool m_invalidText = false;
    ListingParser m_parser;

    bool m_ended = false;
    bool m_cancelled = false;
    QString m_failureText = QStringLiteral("The listing has not been read.");
    QString m_failureDetail;
    AppexList m_records;
    QByteArray m_listing;
};
