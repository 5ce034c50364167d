#pragma once

#include "appex.h"
#include "listinglimits.h"
#include "listingparser.h"

#include <QObject>

#include <chrono>
#include <memory>

class ListingSource;

// Reads one listing from a source into records: the bytes are checked as
// UTF-8 and parsed as they arrive, within the limits; a source that knows its
// size beyond them is refused before anything is read. Ends with finished(),
// once, whether it succeeded, failed or was cancelled.
class ListingReader : public QObject
{
    Q_OBJECT

public:
    ListingReader(std::unique_ptr<ListingSource> source, ListingLimits limits,
                  QObject *parent = nullptr);
    ~ListingReader() override;

    void start();
    // Stops the source; finished() follows at once, with `wasCancelled()`.
    void cancel();

    [[nodiscard]] bool succeeded() const { return m_succeeded; }
    [[nodiscard]] bool wasCancelled() const { return m_cancelled; }
    // Why the listing failed, in one sentence.
    [[nodiscard]] QString failureText() const { return m_failureText; }
    // What the source said beside the listing (the tool's standard error),
    // whether it succeeded or not.
    [[nodiscard]] QString detail() const { return m_detail; }
    // The start of the text read, whatever it was: what a listing that holds
    // no record said instead.
    [[nodiscard]] QByteArray leadingText() const { return m_leadingText; }
    // The UUIDs of the copies in use, for a listing of every copy.
    void setInUseUuids(QSet<QByteArray> uuids) { m_parser.setInUseUuids(std::move(uuids)); }

    // What a successful job read: the records, and the listing's bytes, which
    // they share. Taken once.
    [[nodiscard]] qsizetype recordCount() const { return m_records.size(); }
    [[nodiscard]] AppexList takeRecords() { return std::exchange(m_records, {}); }
    [[nodiscard]] QByteArray takeListing() { return std::exchange(m_listing, {}); }

signals:
    void finished();

private:
    void addBytes(QByteArrayView bytes);
    void sizeKnown(qint64 bytes);
    void check(QByteArrayView bytes);
    void sourceFinished(const std::optional<QString> &failure, const QString &detail);
    void stop(const QString &failureText);
    void end(const std::optional<QString> &failure, const QString &detail);
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
    bool m_succeeded = false;
    QString m_failureText;
    QString m_detail;
    QByteArray m_leadingText;
    AppexList m_records;
    QByteArray m_listing;
};
