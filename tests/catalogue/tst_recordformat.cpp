#include "appexfield.h"
#include "appexproblem.h"
#include "randomrecords.h"
#include "recordformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

// The JSON writer builds its text by hand, eight bytes at a time where no
// escape is needed; QJsonDocument is its plain twin, which it must match
// byte for byte.
class TestRecordFormat : public QObject
{
    Q_OBJECT

private slots:
    void jsonIsQJsonDocuments_data();
    void jsonIsQJsonDocuments();
    void tsvEscapesAsItsPlainTwin();
};

namespace {

QString jsonKeyOf(AppexField field)
{
    return std::find_if(appexFields.begin(), appexFields.end(),
                        [field](const AppexFieldInfo &info) { return info.field == field; })
        ->jsonKey;
}

QJsonObject objectOf(const Appex &record)
{
    QJsonObject object;
    for (const AppexFieldInfo &field : appexFields)
        object.insert(field.jsonKey, record.text(field.field));
    object.insert("category", record.category());
    object.insert("copies", record.copies());
    const std::optional<bool> active = record.active();
    object.insert("active", active ? QJsonValue(*active) : QJsonValue());
    QJsonArray problems;
    for (const AppexProblemInfo &info : appexProblems) {
        if (record.problems().testFlag(info.problem))
            problems.append(QString(info.code));
    }
    object.insert("problems", problems);
    return object;
}

QJsonObject objectOf(const ComparedAppex &compared)
{
    QJsonObject object = objectOf(compared.record);
    object.insert("change", QString::fromLatin1(changeWord(compared.change)));
    if (compared.older) {
        QJsonObject before;
        for (const AppexField field : changedFields(*compared.older, compared.record))
            before.insert(jsonKeyOf(field), compared.older->text(field));
        object.insert("before", before);
    }
    return object;
}

// The records written by the writer and by QJsonDocument: the first read
// back must be the second's array, and its bytes the second's.
template<typename Records> std::pair<QJsonArray, QByteArray> writtenBoth(const Records &records)
{
    QJsonArray array;
    for (const auto &record : records)
        array.append(objectOf(record));
    return {array, QJsonDocument(array).toJson(QJsonDocument::Indented)};
}

} // namespace

void TestRecordFormat::jsonIsQJsonDocuments_data()
{
    RandomRecords::addSeeds(40);
}

void TestRecordFormat::jsonIsQJsonDocuments()
{
    QFETCH(int, seed);
    QRandomGenerator random(quint32(seed + 1));
    const QStringList controls = {"\n", "\r", "\b", "\f", QString(QChar(u'\0'))};
    AppexList records =
        RandomRecords::records(random, seed == 0 ? 0 : random.bounded(1, 30), controls);
    if (seed == 1) {
        // Each ASCII character alone in each place of an eight-byte word, and
        // past the writer's piece of a MiB.
        QString words;
        for (char16_t c = 0; c < 0x80; ++c) {
            for (qsizetype at = 0; at < 8; ++at)
                words += QString(8, u'a').replace(at, 1, QChar(c));
        }
        records[0].setText(AppexField::Name, words.repeated(120));
    }

    QList<ComparedAppex> compared;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const auto change = AppexChange(random.bounded(1, 4));
        compared.append({change, records[i], i});
        if (change == AppexChange::Changed) {
            Appex older = records[i];
            for (const AppexField field :
                 {AppexField::Name, AppexField::Version, AppexField::SDK}) {
                if (random.bounded(2))
                    older.setText(field, RandomRecords::text(random, controls));
            }
            compared.last().older = older;
        }
    }

    const auto check = [](const QByteArray &written,
                          const std::pair<QJsonArray, QByteArray> &both) {
        QJsonParseError error{};
        const QJsonDocument parsed = QJsonDocument::fromJson(written, &error);
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        QCOMPARE(parsed.array(), both.first);
        QCOMPARE(written, both.second);
    };
    check(RecordFormat::json(records), writtenBoth(records));
    if (QTest::currentTestFailed())
        return;
    check(RecordFormat::json(compared), writtenBoth(compared));
}

// TSV is each record's copy text with its values escaped byte by byte: the
// writer's quick look for plain lines misses no byte, wherever it lies.
void TestRecordFormat::tsvEscapesAsItsPlainTwin()
{
    const auto escaped = [](QByteArrayView value) {
        QByteArray out;
        for (const char c : value) {
            const QByteArray named = c == '\t'   ? "\\t"
                                     : c == '\n' ? "\\n"
                                     : c == '\r' ? "\\r"
                                     : c == '\\' ? "\\\\"
                                                 : "";
            if (!named.isEmpty())
                out += named;
            else if (uchar(c) < 0x20 || c == 0x7f)
                out += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
        return out;
    };
    // Mostly plain text, so that many lines need no escape and the others
    // one or two, anywhere in a line of any length.
    const QString rare = QStringLiteral("\t\n\r\\\x1b\x1f\x7f \u00e9\u2713") + QChar(0);
    QRandomGenerator random(7);
    AppexList records;
    QByteArray expected;
    for (int i = 0; i < 1000; ++i) {
        Appex record;
        QByteArrayList values;
        for (const AppexField field : copyFields) {
            QString text;
            for (int length = random.bounded(40); length > 0; --length)
                text += random.bounded(150) == 0 ? rare[random.bounded(rare.size())]
                                                 : QChar(u'a' + random.bounded(26));
            record.setText(field, text);
            values << escaped(record.bytes(field));
        }
        records << record;
        expected += values.join('\t') + '\n';
    }
    QByteArray tsv;
    QVERIFY(RecordFormat::writeTsv(records, [&tsv](QByteArrayView piece) {
        tsv += piece;
        return true;
    }));
    QCOMPARE(tsv, expected);
}

QTEST_GUILESS_MAIN(TestRecordFormat)
#include "tst_recordformat.moc"
