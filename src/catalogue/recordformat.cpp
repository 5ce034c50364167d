#include "recordformat.h"

#include "appexfield.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>

namespace {

// Builds UTF-8 text in place, without a QString or QByteArray per piece: a
// large catalogue's TSV is written at the speed of memory.
class Utf8Writer
{
public:
    // Both append after makeRoom() made room for them.
    void append(QStringView text) { m_end = m_encoder.appendToBuffer(m_end, text); }
    void append(char ascii) { *m_end++ = ascii; }

    // The record's copy text and a line feed.
    void appendLine(const Appex &record)
    {
        qsizetype size = 1;
        for (const QString *field : copyFields(record))
            size += field->size() + 1;
        makeRoom(m_encoder.requiredSpace(size));
        for (const QString *field : copyFields(record)) {
            if (field != &record.name) // a tab before every field but the first
                append('\t');
            append(*field);
        }
        append('\n');
    }
    // Room for `bytes` more, before appending them.
    void makeRoom(qsizetype bytes)
    {
        const qsizetype used = m_end ? m_end - m_bytes.constData() : 0;
        if (m_bytes.size() - used < bytes) {
            m_bytes.resize(std::max(2 * m_bytes.size(), used + bytes));
            m_end = m_bytes.data() + used;
        }
    }
    [[nodiscard]] QByteArray take()
    {
        m_bytes.truncate(m_end ? m_end - m_bytes.constData() : 0);
        m_end = nullptr;
        return std::exchange(m_bytes, {});
    }

private:
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    QByteArray m_bytes;
    char *m_end = nullptr;
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

QByteArray tsv(const AppexList &records)
{
    Utf8Writer out;
    for (const Appex &record : records)
        out.appendLine(record);
    return out.take();
}

QByteArray tsv(const QList<ComparedAppex> &records)
{
    Utf8Writer out;
    for (const ComparedAppex &compared : records) {
        out.makeRoom(2);
        out.append(changeSymbol(compared.change));
        out.append('\t');
        out.appendLine(compared.record);
    }
    return out.take();
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
