#include "recordformat.h"

#include "appexfield.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>

namespace {

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

    // The record's copy text and a line feed, after `prefix`. False once a
    // piece could not be written.
    bool appendLine(const Appex &record, QStringView prefix = {})
    {
        qsizetype size = prefix.size() + 1;
        for (const QString *field : copyFields(record))
            size += field->size() + 1;
        makeRoom(m_encoder.requiredSpace(size));
        append(prefix);
        for (const QString *field : copyFields(record)) {
            if (field != &record.name) // a tab before every field but the first
                *m_end++ = '\t';
            append(*field);
        }
        *m_end++ = '\n';
        return used() < pieceBytes || flush();
    }
    bool flush()
    {
        const bool written = used() == 0 || m_write(QByteArrayView(m_bytes.constData(), used()));
        m_end = m_bytes.data();
        return written;
    }

private:
    void append(QStringView text) { m_end = m_encoder.appendToBuffer(m_end, text); }
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

QJsonObject objectOf(const Appex &record)
{
    QJsonObject object;
    for (const AppexFieldInfo &field : appexFields)
        object.insert(field.jsonKey, record.*field.value);
    return object;
}

QByteArray document(const QJsonArray &array)
{
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
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

QByteArray json(const AppexList &records)
{
    QJsonArray array;
    for (const Appex &record : records)
        array.append(objectOf(record));
    return document(array);
}

QByteArray json(const QList<ComparedAppex> &records)
{
    QJsonArray array;
    for (const ComparedAppex &compared : records) {
        QJsonObject object = objectOf(compared.record);
        object.insert(QLatin1StringView("change"), changeWord(compared.change));
        array.append(object);
    }
    return document(array);
}

} // namespace RecordFormat
