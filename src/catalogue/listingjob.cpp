#include "listingjob.h"

#include "listingsource.h"

#include <QLocale>

namespace {

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
    const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    // Cut only a character that can still be whole: anything else is invalid
    // however it goes on, and the decoder says so.
    return lead >= 0xC0 && bytes.size() - (start - 1) < length ? start - 1 : bytes.size();
}

QString megabytes(qsizetype bytes)
{
    return QString::number(bytes / (1024 * 1024));
}

} // namespace

ListingJob::ListingJob(std::unique_ptr<ListingSource> source, ListingLimits limits,
                       bool keepListing, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_limits(limits)
    , m_keepListing(keepListing)
    , m_decoder(QStringDecoder::Utf8,
                QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom)
{
    connect(m_source.get(), &ListingSource::bytesRead, this, &ListingJob::addBytes);
    connect(m_source.get(), &ListingSource::finished, this, &ListingJob::sourceFinished);
}

ListingJob::~ListingJob() = default;

void ListingJob::start()
{
    m_source->start();
}

void ListingJob::cancel()
{
    if (m_ended)
        return;
    m_cancelled = true;
    stop(cancelledText);
}

void ListingJob::addBytes(QByteArrayView bytes)
{
    m_bytesRead += bytes.size();
    if (m_bytesRead > m_limits.maxBytes) {
        stop(tr("%1 is larger than %2 MiB, so none of it was read.")
                 .arg(m_source->subject(), megabytes(m_limits.maxBytes)));
        return;
    }
    if (m_keepListing)
        m_listing += bytes;
    if (m_invalidText)
        return; // the rest is read to learn how the source ends
    if (m_pending.isEmpty()) {
        decode(bytes);
    } else {
        m_pending += bytes;
        decode(std::exchange(m_pending, {}));
    }
    if (m_parser.recordCount() > m_limits.maxRecords)
        stop(tooManyRecords());
}

QString ListingJob::tooManyRecords() const
{
    return tr("%1 holds more than %2 %3, so none of it was read.")
        .arg(m_source->subject(), QLocale(QLocale::English).toString(m_limits.maxRecords),
             m_limits.maxRecords == 1 ? tr("record") : tr("records"));
}

void ListingJob::decode(QByteArrayView bytes)
{
    if (m_atStart && bytes.size() < 3 && QByteArrayView("\xEF\xBB\xBF").startsWith(bytes)) {
        m_pending = bytes.toByteArray(); // may yet be a byte order mark
        return;
    }
    if (m_atStart && bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3); // a byte order mark opening the listing is no text
    m_atStart = false;
    const qsizetype whole = wholeCharacters(bytes);
    m_pending = bytes.sliced(whole).toByteArray();
    if (m_text.size() < whole)
        m_text.resize(whole); // UTF-8 never takes fewer code units in UTF-16
    const QChar *end = m_decoder.appendToBuffer(m_text.data(), bytes.first(whole));
    if (m_decoder.hasError()) {
        m_invalidText = true;
        return;
    }
    m_parser.addText(QStringView(m_text.constData(), end));
}

void ListingJob::sourceFinished(const QString &failureText, const QString &detail)
{
    if (!failureText.isEmpty()) {
        end(failureText, detail);
        return;
    }
    // Bytes still pending are a character cut short.
    if (m_invalidText || !m_pending.isEmpty()) {
        end(tr("%1 is not valid UTF-8 text, so none of it was read.").arg(m_source->subject()),
            detail);
        return;
    }
    m_records = m_parser.finish();
    if (m_records.size() > m_limits.maxRecords) {
        m_records.clear();
        end(tooManyRecords(), detail);
        return;
    }
    end(QString(), detail);
}

void ListingJob::stop(const QString &failureText)
{
    m_source->abort();
    end(failureText, QString());
}

void ListingJob::end(const QString &failureText, const QString &detail)
{
    if (m_ended)
        return;
    m_ended = true;
    m_failureText = failureText;
    m_failureDetail = failureText.isEmpty() ? QString() : detail;
    if (!succeeded()) {
        m_listing.clear();
        m_parser = ListingParser();
    }
    emit finished();
}
