#include "recordformat.h"

#include "appexfield.h"

#include <QStringEncoder>

#include <algorithm>

namespace {

constexpr QLatin1StringView changeKey("change");

// Writes UTF-8 text a piece at a time, each built in place in one buffer,
// without a QString or QByteArray per field: a large catalogue's TSV is
// written at the speed of memory and never waits whole in it.
class PieceWriter
{
public:
    static constexpr qsizetype pieceBytes = 1024 * 1024;

    explicit PieceWriter(const RecordFormat::WritePiece &write)
        : m_write(write)
        , m_bytes(pieceBytes + pieceBytes / 8, Qt::Uninitialized)
        , m_end(m_bytes.data())
    {}

    void append(QStringView text)
    {
        makeRoom(m_encoder.requiredSpace(text.size()));
        appendInRoom(text);
    }
    // `text` as a JSON string, quoted and escaped as QJsonDocument writes it.
    void appendJsonString(QStringView text)
    {
        append(u"\"");
        qsizetype plain = 0; // where the text not yet appended starts
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            const bool pair =
                c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            if (pair) {
                ++i;
                continue;
            }
            if (c.unicode() >= 0x20 && c != u'"' && c != u'\\' && !c.isSurrogate())
                continue;
            append(text.sliced(plain, i - plain));
            plain = i + 1;
            append(jsonEscape(c.unicode()));
        }
        append(text.sliced(plain));
        append(u"\"");
    }
    // Whether the room for the next record is past the piece's size: then the
    // caller hands the piece on. False once a piece could not be written.
    bool endRecord() { return used() < pieceBytes || flush(); }

    // The record's copy text and a line feed, after `prefix`. False once a
    // piece could not be written.
    bool appendLine(const Appex &record, QStringView prefix = {})
    {
        qsizetype size = prefix.size() + 1;
        for (const QString *field : copyFields(record))
            size += field->size() + 1;
        makeRoom(m_encoder.requiredSpace(size));
        appendInRoom(prefix);
        for (const QString *field : copyFields(record)) {
            if (field != &record.name) // a tab before every field but the first
                *m_end++ = '\t';
            appendInRoom(*field);
        }
        *m_end++ = '\n';
        return endRecord();
    }
    bool flush()
    {
        const bool written = used() == 0 || m_write(QByteArrayView(m_bytes.constData(), used()));
        m_end = m_bytes.data();
        return written;
    }

private:
    static QString jsonEscape(char16_t c)
    {
        switch (c) {
        case u'"':
            return QStringLiteral("\\\"");
        case u'\\':
            return QStringLiteral("\\\\");
        case u'\b':
            return QStringLiteral("\\b");
        case u'\f':
            return QStringLiteral("\\f");
        case u'\n':
            return QStringLiteral("\\n");
        case u'\r':
            return QStringLiteral("\\r");
        case u'\t':
            return QStringLiteral("\\t");
        default: // other control characters, and surrogates without their pair
            return QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        }
    }
    void appendInRoom(QStringView text) { m_end = m_encoder.appendToBuffer(m_end, text); }
    [[nodiscard]] qsizetype used() const { return m_end - m_bytes.constData(); }
    void makeRoom(qsizetype bytes)
    {
        const qsizetype used = this->used();
        if (m_bytes.size() - used < bytes) {
            m_bytes.resize(std::max(pieceBytes, used + bytes) + pieceBytes / 8);
            m_end = m_bytes.data() + used;
        }
    }

    const RecordFormat::WritePiece &m_write;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    QByteArray m_bytes;
    char *m_end;
};

// The JSON keys of a record's fields, and of the change of a compared one, in
// the order QJsonObject writes them: sorted.
QList<QLatin1StringView> sortedKeys(bool withChange)
{
    QList<QLatin1StringView> keys;
    for (const AppexFieldInfo &field : appexFields)
        keys << field.jsonKey;
    if (withChange)
        keys << changeKey;
    std::sort(keys.begin(), keys.end(),
              [](QLatin1StringView a, QLatin1StringView b) { return QString(a) < QString(b); });
    return keys;
}

// An array of one object per record, as QJsonDocument::Indented writes it,
// a piece at a time: a catalogue's JSON never waits whole in memory.
template<typename Records, typename ValueOf>
bool writeJsonArray(const Records &records, const RecordFormat::WritePiece &write, bool withChange,
                    ValueOf valueOf)
{
    const QList<QLatin1StringView> keys = sortedKeys(withChange);
    PieceWriter out(write);
    out.append(u"[\n");
    for (qsizetype i = 0; i < records.size(); ++i) {
        out.append(u"    {\n");
        for (qsizetype k = 0; k < keys.size(); ++k) {
            out.append(u"        ");
            out.appendJsonString(QString(keys[k]));
            out.append(u": ");
            out.appendJsonString(valueOf(records[i], keys[k]));
            out.append(k + 1 < keys.size() ? u",\n" : u"\n");
        }
        out.append(i + 1 < records.size() ? u"    },\n" : u"    }\n");
        if (!out.endRecord())
            return false;
    }
    out.append(u"]\n");
    return out.flush();
}

QString fieldByKey(const Appex &record, QLatin1StringView key)
{
    for (const AppexFieldInfo &field : appexFields) {
        if (field.jsonKey == key)
            return record.*field.value;
    }
    Q_UNREACHABLE();
}

} // namespace

namespace RecordFormat {

bool writeTsv(const AppexList &records, const WritePiece &write)
{
    PieceWriter out(write);
    for (const Appex &record : records) {
        if (!out.appendLine(record))
            return false;
    }
    return out.flush();
}

bool writeTsv(const QList<ComparedAppex> &records, const WritePiece &write)
{
    PieceWriter out(write);
    for (const ComparedAppex &compared : records) {
        if (!out.appendLine(compared.record, changeSymbol(compared.change) + u'\t'))
            return false;
    }
    return out.flush();
}

bool writeJson(const AppexList &records, const WritePiece &write)
{
    return writeJsonArray(records, write, false, &fieldByKey);
}

bool writeJson(const QList<ComparedAppex> &records, const WritePiece &write)
{
    return writeJsonArray(records, write, true,
                          [](const ComparedAppex &compared, QLatin1StringView key) {
                              return key == changeKey ? changeWord(compared.change)
                                                      : fieldByKey(compared.record, key);
                          });
}

template<typename Records> QByteArray wholeJson(const Records &records)
{
    QByteArray whole;
    (void)writeJson(records, [&whole](QByteArrayView piece) {
        whole += piece;
        return true;
    });
    return whole;
}

QByteArray json(const AppexList &records)
{
    return wholeJson(records);
}

QByteArray json(const QList<ComparedAppex> &records)
{
    return wholeJson(records);
}

} // namespace RecordFormat
