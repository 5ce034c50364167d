#include "recordformat.h"

#include "appexfield.h"
#include "appexproblem.h"
#include "prefetch.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr QLatin1StringView changeKey("change");

// Whether any of the eight bytes of `word` needs an escape in a JSON string:
// a control character, a quotation mark or a backslash.
constexpr bool needsEscape(quint64 word)
{
    constexpr quint64 ones = 0x0101010101010101;
    constexpr quint64 highBits = 0x8080808080808080;
    const auto anyBelow = [](quint64 bytes, quint64 bound) {
        return ((bytes - ones * bound) & ~bytes & highBits) != 0;
    };
    return anyBelow(word, 0x20) || anyBelow(word ^ (ones * '"'), 1) ||
           anyBelow(word ^ (ones * '\\'), 1);
}

// Copies the text from `at` on to `to` up to the first byte that needs an
// escape, eight bytes at a time while none does: a catalogue's JSON is
// mostly such text. Returns where it stopped in each.
Q_ALWAYS_INLINE std::pair<const char *, char *> copyPlainText(const char *at, const char *end,
                                                              char *to)
{
    for (quint64 word; end - at >= 8; at += 8, to += 8) {
        std::memcpy(&word, at, sizeof word);
        if (needsEscape(word))
            break;
        std::memcpy(to, &word, sizeof word);
    }
    while (at != end && uchar(*at) >= 0x20 && *at != '"' && *at != '\\')
        *to++ = *at++;
    return {at, to};
}

constexpr char hexDigits[] = "0123456789abcdef";

// What a TSV value escapes: a tab or a line break would shift its columns or
// start a record, other control characters and DEL would reach a terminal
// (one that erases a line, one that sets the title), and the backslash
// starts every escape.
constexpr bool isTsvEscaped(char c)
{
    return uchar(c) < 0x20 || c == 0x7f || c == '\\';
}

// Sixteen bytes, compared at once (gcc's and clang's vectors), and what a
// comparison gives: -1 in each byte where it holds.
using Bytes16 = uchar __attribute__((vector_size(16)));
using Marks16 = signed char __attribute__((vector_size(16)));

// Whether no byte from `begin` to `end` is one that TSV escapes, looked at
// sixteen at a time without a branch. The sixteen bytes from `end` on are
// room of the caller's, which this fills with spaces.
Q_ALWAYS_INLINE bool isPlainTsv(const char *begin, char *end)
{
    std::memset(end, ' ', sizeof(Bytes16));
    Marks16 marks{};
    for (const char *at = begin; at < end; at += sizeof(Bytes16)) {
        Bytes16 bytes;
        std::memcpy(&bytes, at, sizeof bytes);
        marks |= (bytes < 0x20) | (bytes == 0x7f) | (bytes == '\\');
    }
    quint64 halves[2];
    std::memcpy(halves, &marks, sizeof halves);
    return (halves[0] | halves[1]) == 0;
}

// Writes UTF-8 text a piece at a time, each built in place in one buffer
// straight from the records' bytes: a large catalogue's output is written at
// the speed of memory and never waits whole in it.
class PieceWriter
{
public:
    static constexpr qsizetype pieceBytes = 1024 * 1024;

    explicit PieceWriter(const RecordFormat::WritePiece &write)
        : m_write(write)
        , m_bytes(pieceBytes + pieceBytes / 8, Qt::Uninitialized)
        , m_end(m_bytes.data())
    {}

    void append(QByteArrayView bytes)
    {
        makeRoom(bytes.size());
        appendInRoom(bytes);
    }
    // `utf8` as a JSON string, quoted and escaped as QJsonDocument writes it.
    // Inline, as copyPlainText and appendJsonValue: a catalogue's JSON is a
    // dozen calls of each a record.
    Q_ALWAYS_INLINE void appendJsonString(QByteArrayView utf8)
    {
        // At most six bytes, "\u001f", for each byte.
        makeRoom(utf8.size() * 6 + 2);
        *m_end++ = '"';
        const char *at = utf8.begin();
        while (at != utf8.end()) {
            std::tie(at, m_end) = copyPlainText(at, utf8.end(), m_end);
            if (at == utf8.end())
                break;
            const char c = *at++;
            const auto byte = uchar(c);
            *m_end++ = '\\';
            switch (c) {
            case '"':
            case '\\':
                *m_end++ = c;
                break;
            case '\b':
                *m_end++ = 'b';
                break;
            case '\f':
                *m_end++ = 'f';
                break;
            case '\n':
                *m_end++ = 'n';
                break;
            case '\r':
                *m_end++ = 'r';
                break;
            case '\t':
                *m_end++ = 't';
                break;
            default: // other control characters
                appendInRoom("u00");
                *m_end++ = hexDigits[byte >> 4];
                *m_end++ = hexDigits[byte & 0xf];
            }
        }
        *m_end++ = '"';
    }
    // Whether the room for the next record is past the piece's size: then the
    // caller hands the piece on. False once a piece could not be written.
    bool endRecord() { return used() < pieceBytes || flush(); }

    // The record's copy text and a line feed, after `prefix`, its values
    // escaped as appendTsvValueInRoom does. False once a piece could not be
    // written.
    bool appendLine(const Appex &record, QByteArrayView prefix = {})
    {
        // At most four bytes, "\x1b", for each byte of a value, and the
        // sixteen past the values that isPlainTsv fills.
        qsizetype size = prefix.size() + 1 + qsizetype(sizeof(Bytes16));
        for (const AppexField field : copyFields)
            size += record.bytes(field).size() * 4 + 1;
        makeRoom(size);
        appendInRoom(prefix);
        // Most values need no escape: the line is copied value by value, each
        // after a space that stands for its tab until the values are known
        // plain, so that a tab within one shows.
        char *const values = m_end;
        std::array<char *, copyFields.size() - 1> tabs;
        for (size_t i = 0; i < copyFields.size(); ++i) {
            if (i > 0) {
                tabs[i - 1] = m_end;
                *m_end++ = ' ';
            }
            appendInRoom(record.bytes(copyFields[i]));
        }
        if (isPlainTsv(values, m_end)) [[likely]] {
            for (char *tab : tabs)
                *tab = '\t';
        } else {
            m_end = values;
            for (size_t i = 0; i < copyFields.size(); ++i) {
                if (i > 0)
                    *m_end++ = '\t';
                appendTsvValueInRoom(record.bytes(copyFields[i]));
            }
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
    // `utf8` with a tab, line feed, carriage return and backslash as "\t",
    // "\n", "\r" and "\\", and every other control character and DEL as
    // "\x" and two lower-case hex digits: a value stays in its column, and
    // nothing of it drives the terminal that shows it.
    void appendTsvValueInRoom(QByteArrayView utf8)
    {
        for (const char c : utf8) {
            if (!isTsvEscaped(c)) {
                *m_end++ = c;
                continue;
            }
            *m_end++ = '\\';
            switch (c) {
            case '\\':
                *m_end++ = c;
                break;
            case '\t':
                *m_end++ = 't';
                break;
            case '\n':
                *m_end++ = 'n';
                break;
            case '\r':
                *m_end++ = 'r';
                break;
            default: // other control characters, DEL
                *m_end++ = 'x';
                *m_end++ = hexDigits[uchar(c) >> 4];
                *m_end++ = hexDigits[uchar(c) & 0xf];
            }
        }
    }
    void appendInRoom(QByteArrayView bytes)
    {
        if (!bytes.isEmpty())
            m_end = std::copy(bytes.begin(), bytes.end(), m_end);
    }
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
    QByteArray m_bytes;
    char *m_end;
};

// What a JSON key holds: a text field, or one of the values the listing as a
// whole gives a record, or a compared record's change.
enum class JsonValue { Field, Category, Copies, Active, Problems, Change, Before };

struct JsonKey
{
    // What comes before the value: the end of the value before it or the
    // start of the object, then the key, indented and quoted.
    QByteArray lead;
    JsonValue value;
    AppexField field = AppexField::Name; // of a JsonValue::Field
};

// The JSON keys of a record, and of the change of a compared one, in the
// order QJsonObject writes them: sorted.
std::vector<JsonKey> sortedKeys(bool withChange)
{
    std::vector<std::pair<QLatin1StringView, JsonKey>> keys;
    for (const AppexFieldInfo &info : appexFields)
        keys.push_back({info.jsonKey, {{}, JsonValue::Field, info.field}});
    keys.push_back({QLatin1StringView("category"), {{}, JsonValue::Category}});
    keys.push_back({QLatin1StringView("copies"), {{}, JsonValue::Copies}});
    keys.push_back({QLatin1StringView("active"), {{}, JsonValue::Active}});
    keys.push_back({QLatin1StringView("problems"), {{}, JsonValue::Problems}});
    if (withChange) {
        keys.push_back({changeKey, {{}, JsonValue::Change}});
        keys.push_back({QLatin1StringView("before"), {{}, JsonValue::Before}});
    }
    std::sort(keys.begin(), keys.end(),
              [](const auto &a, const auto &b) { return QString(a.first) < QString(b.first); });
    std::vector<JsonKey> sorted;
    for (auto &[name, key] : keys) {
        key.lead = QByteArray(sorted.empty() ? "    {\n" : ",\n") + "        \"" +
                   QByteArray(name.data(), name.size()) + "\": ";
        sorted.push_back(std::move(key));
    }
    return sorted;
}

// A changed record's older values of the fields that changed, as an object
// one level in.
void appendBefore(PieceWriter &out, const Appex &older, const Appex &newer)
{
    QList<AppexField> fields = changedFields(older, newer);
    const auto keyOf = [](AppexField field) {
        return QString(
            std::find_if(appexFields.begin(), appexFields.end(), [field](const auto &info) {
                return info.field == field;
            })->jsonKey);
    };
    std::sort(fields.begin(), fields.end(),
              [&](AppexField a, AppexField b) { return keyOf(a) < keyOf(b); });
    out.append("{\n");
    for (qsizetype i = 0; i < fields.size(); ++i) {
        out.append("            \"" + keyOf(fields[i]).toUtf8() + "\": ");
        out.appendJsonString(older.bytes(fields[i]));
        out.append(i + 1 < fields.size() ? ",\n" : "\n");
    }
    out.append("        }");
}

// The category of each point met, made once: a catalogue holds few points.
class Categories
{
public:
    QByteArrayView of(const Appex &record)
    {
        const QByteArrayView bytes = record.bytes(AppexField::Point);
        const std::string_view point(bytes.data(), size_t(bytes.size()));
        if (m_last != m_names.end() && m_last->first == point)
            return m_last->second; // sorted records come a point at a time
        m_last = m_names.find(point);
        if (m_last == m_names.end())
            m_last = m_names.emplace(std::string(point), record.category().toUtf8()).first;
        return m_last->second;
    }

private:
    std::map<std::string, QByteArray, std::less<>> m_names;
    std::map<std::string, QByteArray, std::less<>>::const_iterator m_last = m_names.end();
};

Q_ALWAYS_INLINE void appendJsonValue(PieceWriter &out, const JsonKey &key, const Appex &record,
                                     QByteArrayView change, const Appex *older,
                                     Categories &categories)
{
    switch (key.value) {
    case JsonValue::Field:
        out.appendJsonString(record.bytes(key.field));
        return;
    case JsonValue::Category:
        out.appendJsonString(categories.of(record));
        return;
    case JsonValue::Copies: {
        char digits[16];
        const auto written = std::to_chars(std::begin(digits), std::end(digits), record.copies());
        out.append(QByteArrayView(digits, written.ptr - digits));
        return;
    }
    case JsonValue::Active: {
        const std::optional<bool> active = record.active();
        out.append(!active ? "null" : *active ? "true" : "false");
        return;
    }
    case JsonValue::Problems: {
        // As QJsonDocument writes an array, empty or not.
        out.append("[\n");
        bool first = true;
        for (const AppexProblemInfo &info : appexProblems) {
            if (!record.problems().testFlag(info.problem))
                continue;
            out.append(first ? "            " : ",\n            ");
            out.appendJsonString(QByteArrayView(info.code.data(), info.code.size()));
            first = false;
        }
        out.append(first ? "        ]" : "\n        ]");
        return;
    }
    case JsonValue::Change:
        out.appendJsonString(change);
        return;
    case JsonValue::Before:
        appendBefore(out, *older, record);
        return;
    }
}

// An array of one object per record, as QJsonDocument::Indented writes it,
// a piece at a time: a catalogue's JSON never waits whole in memory.
template<typename Records, typename RecordOf, typename ChangeOf, typename OlderOf>
bool writeJsonArray(const Records &records, const RecordFormat::WritePiece &write, bool withChange,
                    RecordOf recordOf, ChangeOf changeOf, OlderOf olderOf)
{
    const std::vector<JsonKey> keys = sortedKeys(withChange);
    Categories categories;
    PieceWriter out(write);
    out.append("[\n");
    for (qsizetype i = 0; i < records.size(); ++i) {
        Prefetch::ahead(records, i, textFields, recordOf);
        const Appex &record = recordOf(records[i]);
        const Appex *older = olderOf(records[i]);
        for (const JsonKey &key : keys) {
            if (key.value == JsonValue::Before && !older)
                continue; // only a changed record has one; never the first key
            out.append(key.lead);
            appendJsonValue(out, key, record, changeOf(records[i]), older, categories);
        }
        out.append(i + 1 < records.size() ? "\n    },\n" : "\n    }\n");
        if (!out.endRecord())
            return false;
    }
    out.append("]\n");
    return out.flush();
}

const Appex &itself(const Appex &record)
{
    return record;
}

QByteArrayView noChange(const Appex &)
{
    return {};
}

const Appex &recordOf(const ComparedAppex &compared)
{
    return compared.record;
}

QByteArrayView wordOf(const ComparedAppex &compared)
{
    return changeWord(compared.change);
}

const Appex *noOlder(const Appex &)
{
    return nullptr;
}

const Appex *olderOf(const ComparedAppex &compared)
{
    return compared.older ? &*compared.older : nullptr;
}

} // namespace

namespace RecordFormat {

bool writeTsv(const AppexList &records, const WritePiece &write)
{
    PieceWriter out(write);
    for (qsizetype i = 0; i < records.size(); ++i) {
        Prefetch::ahead(records, i, copyFields);
        if (!out.appendLine(records[i]))
            return false;
    }
    return out.flush();
}

bool writeTsv(const QList<ComparedAppex> &records, const WritePiece &write)
{
    PieceWriter out(write);
    for (const ComparedAppex &compared : records) {
        if (!out.appendLine(compared.record, changeSymbol(compared.change).toByteArray() + '\t'))
            return false;
    }
    return out.flush();
}

bool writeJson(const AppexList &records, const WritePiece &write)
{
    return writeJsonArray(records, write, false, &itself, &noChange, &noOlder);
}

bool writeJson(const QList<ComparedAppex> &records, const WritePiece &write)
{
    return writeJsonArray(records, write, true, &recordOf, &wordOf, &olderOf);
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
