#include "listingreader.h"

#include "listingsource.h"

#include <QLocale>

namespace {

// The bytes of a UTF-8 character, from its first byte; 1 for any other.
qsizetype characterLength(uchar lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Enough of a listing that holds no record to tell what it holds instead.
constexpr qsizetype leadingTextBytes = 4096;

// The length of the longest start of `bytes` that ends between two UTF-8
// characters: a character cut at the end waits for the rest of its bytes.
qsizetype wholeCharacters(QByteArrayView bytes)
{
    qsizetype start = bytes.size();
    // A character has at most three continuation bytes, 10xxxxxx.
    while (start > 0 && bytes.size() - start < 3 && (uchar(bytes[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0)
        return bytes.size();
    const uchar lead = uchar(bytes[start - 1]);
    const qsizetype length = characterLength(lead);
    // Cut only a character that can still be whole: anything else is invalid
    // however it goes on, and the decoder says so.
    return lead >= 0xC0 && bytes.size() - (start - 1) < length ? start - 1 : bytes.size();
}

QString megabytes(qsizetype bytes)
{
    return QString::number(bytes / (1024 * 1024));
}

} // namespace

ListingReader::ListingReader(std::unique_ptr<ListingSource> source, ListingLimits limits,
                             QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_limits(limits)
{
    connect(m_source.get(), &ListingSource::sizeKnown, this, &ListingReader::sizeKnown);
    connect(m_source.get(), &ListingSource::bytesRead, this, &ListingReader::addBytes);
    connect(m_source.get(), &ListingSource::finished, this, &ListingReader::sourceFinished);
}

ListingReader::~ListingReader() = default;

void ListingReader::start()
{
    m_parser.setCrlfLineEnds(m_source->isCapture());
    m_parser.setKeepsListing(m_limits.keepsListing);
    m_source->start();
}

void ListingReader::cancel()
{
    if (m_ended)
        return;
    m_cancelled = true;
    stop(tr("The listing was cancelled."));
}

void ListingReader::sizeKnown(qint64 bytes)
{
    if (bytes > m_limits.maxBytes)
        stop(tooManyBytes());
    else
        m_parser.reserve(qsizetype(bytes));
}

void ListingReader::addBytes(QByteArrayView bytes)
{
    if (m_leadingText.size() < leadingTextBytes)
        m_leadingText +=
            bytes.first(std::min(bytes.size(), leadingTextBytes - m_leadingText.size()));
    m_bytesRead += bytes.size();
    if (m_bytesRead > m_limits.maxBytes) {
        stop(tooManyBytes());
        return;
    }
    if (m_invalidText)
        return; // the rest is read to learn how the source ends
    check(bytes);
    m_parser.addBytes(bytes);
    if (m_parser.recordCount() > m_limits.maxRecords)
        stop(tooManyRecords());
}

QString ListingReader::tooManyBytes() const
{
    return tr("%1 is larger than %2 MiB, so none of it was read.")
        .arg(m_source->subject(), megabytes(m_limits.maxBytes));
}

QString ListingReader::tooManyRecords() const
{
    const QString count = QLocale(QLocale::English).toString(m_limits.maxRecords);
    return (m_limits.maxRecords == 1 ? tr("%1 holds more than %2 record, so none of it was read.")
                                     : tr("%1 holds more than %2 records, so none of it was read."))
        .arg(m_source->subject(), count);
}

// Checks that `bytes`, after the piece before, are UTF-8. A character cut by
// the end of a piece is checked once the next piece completes it.
void ListingReader::check(QByteArrayView bytes)
{
    if (!m_pending.isEmpty()) {
        const uchar lead = uchar(m_pending[0]);
        const qsizetype length = characterLength(lead); // a lead byte: at least 2
        const qsizetype missing = length - m_pending.size();
        m_pending += bytes.first(std::min(missing, bytes.size()));
        if (m_pending.size() < length)
            return;
        m_invalidText = !QByteArrayView(m_pending).isValidUtf8();
        m_pending.clear();
        bytes = bytes.sliced(missing);
    }
    const qsizetype whole = wholeCharacters(bytes);
    m_invalidText = m_invalidText || !bytes.first(whole).isValidUtf8();
    m_pending = bytes.sliced(whole).toByteArray();
}

void ListingReader::sourceFinished(const std::optional<QString> &failure, const QString &detail)
{
    if (failure) {
        end(failure, detail);
        return;
    }
    // Bytes still pending are a character cut short.
    if (m_invalidText || !m_pending.isEmpty()) {
        end(tr("%1 is not valid UTF-8 text, so none of it was read.").arg(m_source->subject()),
            detail);
        return;
    }
    m_records = m_parser.finish();
    m_listing = m_parser.listing();
    if (m_records.size() > m_limits.maxRecords) {
        m_records.clear();
        m_listing.clear();
        end(tooManyRecords(), detail);
        return;
    }
    end(std::nullopt, detail);
}

void ListingReader::stop(const QString &failureText)
{
    m_source->abort();
    end(failureText, QString());
}

void ListingReader::end(const std::optional<QString> &failure, const QString &detail)
{
    if (m_ended)
        return;
    m_ended = true;
    m_succeeded = !failure;
    m_failureText = failure.value_or(QString());
    m_detail = detail;
    if (!m_succeeded) {
        m_listing.clear();
        m_parser = ListingParser();
    }
    emit finished();
}
