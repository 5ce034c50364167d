#include "listingparser.h"

#include "bytesearch.h"
#include "copyannotation.h"
#include "headerline.h"
#include "hugepages.h"
#include "textkey.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct Marker
{
    QByteArrayView key;     // the marker is the key followed by " = "
    QByteArrayView removed; // what is cut out of a matching line
    AppexField field;
};

// Tested in this order: the first marker that a line contains anywhere decides.
constexpr std::array<Marker, 7> markers = {{
    {"Path", "Path = ", AppexField::Path},
    {"SDK", "SDK = com.apple.", AppexField::SDK},
    {"Display Name", "Display Name = ", AppexField::Name},
    {"Parent Bundle", "Parent Bundle = ", AppexField::ParentPath},
    {"Parent Name", "Parent Name = ", AppexField::ParentName},
    {"UUID", "UUID = ", AppexField::Uuid},
    {"Timestamp", "Timestamp = ", AppexField::Timestamp},
}};

constexpr QByteArrayView pointRemoved("SDK = ");

struct MarkerMatch
{
    const Marker *marker = nullptr;
    qsizetype position = -1;   // of the marker's first occurrence
    qsizetype lastEquals = -1; // where the line's last '=' is
    bool keyed = false;        // whether the line holds " = "
};

// Every marker ends in " = ", so a line holds a marker exactly when one of its
// " = " is preceded by the marker's key. Looking at the one or two " = " of a
// line spares six substring searches over every line of a large listing.
MarkerMatch markerOf(QByteArrayView line)
{
    MarkerMatch found;
    for (qsizetype at = ByteSearch::indexOf(line, '='); at >= 0;
         at = ByteSearch::indexOf(line, '=', at + 1)) {
        found.lastEquals = at;
        if (at < 2 || at + 1 == line.size() || line[at - 1] != ' ' || line[at + 1] != ' ')
            continue;
        found.keyed = true;
        const QByteArrayView before = line.first(at - 1);
        for (const Marker *marker = markers.data();
             marker != found.marker && marker != markers.end(); ++marker) {
            // The last letters differ for most keys: compare whole keys only
            // when they agree.
            if (before.back() == marker->key.back() && before.endsWith(marker->key)) {
                found.marker = marker;
                found.position = before.size() - marker->key.size();
                break;
            }
        }
    }
    return found;
}

// The line without any occurrence of `removed`, trimmed. No occurrence of it
// starts before `from`, and the line's last '=' is at `lastEquals`. Usually a
// stretch of the line itself; otherwise made in `scratch`.
QByteArrayView valueOf(QByteArrayView line, QByteArrayView removed, qsizetype from,
                       qsizetype lastEquals, QByteArray &scratch)
{
    const qsizetype first =
        line.sliced(from).startsWith(removed) ? from : line.indexOf(removed, from);
    if (first < 0)
        return TextKey::trimmed(line);
    const QByteArrayView rest = line.sliced(first + removed.size());
    // Every removed text holds '=': a rest without one holds no second occurrence.
    const bool removedOnce = lastEquals < first + removed.size() || !rest.contains(removed);
    if (removedOnce && TextKey::trimmed(line.first(first)).isEmpty())
        return TextKey::trimmed(rest); // the usual "    Key = value" line
    scratch = line.toByteArray();
    scratch.replace(removed, QByteArrayView());
    return TextKey::trimmed(scratch);
}

constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");

// How many spaces and tabs `line` starts with.
qsizetype indentOf(QByteArrayView line)
{
    qsizetype at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    return at;
}

// Where the line end that starts with the CR at `cr` of `text` ends: after
// CR LF, CR CR LF (CR LF converted once more) or a lone CR (old Mac text);
// -1 while the bytes that tell them apart are still to come, unless `atEnd`.
qsizetype endAfterCarriageReturn(QByteArrayView text, qsizetype cr, bool atEnd)
{
    const qsizetype after = text.size() - cr - 1;
    if (after >= 1 && text[cr + 1] == '\n')
        return cr + 2;
    if (after >= 2 && text[cr + 1] == '\r' && text[cr + 2] == '\n')
        return cr + 3;
    if (!atEnd && (after == 0 || (after == 1 && text[cr + 1] == '\r')))
        return -1;
    return cr + 1;
}

// Calls `add` with each line of `text` that a line end closes, and returns
// where the rest starts. Lines end at LF, and with `crEnds` at CR as well
// (see endAfterCarriageReturn). No line end starts before `searchFrom`, but
// for a CR among the two bytes before it, still to be told apart.
template<typename Add>
qsizetype forEachLine(QByteArrayView text, qsizetype searchFrom, bool crEnds, bool atEnd, Add &&add)
{
    qsizetype lineStart = 0;
    if (!crEnds) {
        for (qsizetype end = ByteSearch::indexOf(text, '\n', searchFrom); end >= 0;
             end = ByteSearch::indexOf(text, '\n', end + 1)) {
            add(text.sliced(lineStart, end - lineStart));
            lineStart = end + 1;
        }
        return lineStart;
    }
    // The next CR and the next LF are each looked for again only once passed;
    // past the last CR, lines end at LF alone.
    constexpr qsizetype unsearched = -2; // -1 is none left
    qsizetype cr = unsearched;
    qsizetype lf = unsearched;
    for (qsizetype at = std::max<qsizetype>(0, searchFrom - 2);;) {
        if (cr < at)
            cr = ByteSearch::indexOf(text, '\r', at);
        if (cr < 0)
            return lineStart + forEachLine(text.sliced(lineStart), at - lineStart, false, atEnd,
                                           std::forward<Add>(add));
        if (lf != -1 && lf < at)
            lf = ByteSearch::indexOf(text, '\n', at);
        qsizetype end = lf;
        qsizetype next = lf + 1;
        if (lf < 0 || cr < lf) {
            end = cr;
            next = endAfterCarriageReturn(text, cr, atEnd);
        }
        if (next < 0)
            break;
        add(text.sliced(lineStart, end - lineStart));
        lineStart = at = next;
    }
    return lineStart;
}

// Where the text after the first line end of `text` starts, or -1.
qsizetype afterFirstLineEnd(QByteArrayView text, bool crEnds)
{
    const qsizetype lf = ByteSearch::indexOf(text, '\n');
    const qsizetype cr =
        crEnds ? ByteSearch::indexOf(lf < 0 ? text : text.first(lf), '\r') : qsizetype(-1);
    if (cr >= 0)
        return endAfterCarriageReturn(text, cr, false);
    return lf < 0 ? -1 : lf + 1;
}

// A line of a paste quoted in Markdown without its quote marks: "> " before
// the line, or ">" alone before an empty one, once per level.
QByteArrayView unquoted(QByteArrayView line)
{
    while (!line.isEmpty() && line.front() == '>') {
        line = line.sliced(1);
        if (!line.isEmpty() && line.front() == ' ')
            line = line.sliced(1);
    }
    return line;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// The count after verbose output: " (1 plug-in)", " (12 plug-ins)".
bool isCountLine(QByteArrayView text)
{
    if (text.size() < 2 || text.front() != '(' || text.back() != ')')
        return false;
    const QByteArrayView inside = text.sliced(1).chopped(1);
    qsizetype digits = 0;
    while (digits < inside.size() && isDigit(inside[digits]))
        ++digits;
    const QByteArrayView words = inside.sliced(digits);
    return digits > 0 && (words == " plug-in" || words == " plug-ins");
}

// A shell prompt: "$ pluginkit -mAvvv", "% …", or one that names the user and
// the folder first, "me@Mac ~ % pluginkit -m".
bool isPrompt(QByteArrayView text)
{
    if ((text.front() == '$' || text.front() == '%') && (text.size() == 1 || isSpaceOrTab(text[1])))
        return true;
    constexpr QByteArrayView tool("pluginkit");
    for (qsizetype at = text.indexOf(tool); at >= 2; at = text.indexOf(tool, at + 1)) {
        const char sign = text[at - 2];
        if (text[at - 1] == ' ' && (sign == '$' || sign == '%' || sign == '#'))
            return true;
    }
    return false;
}

// Lines, trimmed, that pasting puts around the tool's outputs, or that the
// tool prints besides records: a shell prompt, the count after verbose
// output, and what a filter that matches nothing prints; and the line that
// heads a listing kept in Zephlist's history, "zephlist-listing 1 records …".
bool isBesideRecords(QByteArrayView text)
{
    return text == "(no matches)" || isCountLine(text) || isPrompt(text) ||
           text.startsWith("zephlist-listing ");
}

// 8-4-4-4-12 hexadecimal digits, in either case.
bool isUuid(QByteArrayView word)
{
    if (word.size() != 36)
        return false;
    for (qsizetype at = 0; at < word.size(); ++at) {
        const char c = TextKey::asciiLower(word[at]);
        const bool dash = at == 8 || at == 13 || at == 18 || at == 23;
        if (dash ? c != '-' : !isDigit(c) && (c < 'a' || c > 'f'))
            return false;
    }
    return true;
}

// Takes the first word off `text`, trimmed: what comes before a space or a tab.
QByteArrayView takeWord(QByteArrayView &text)
{
    qsizetype end = 0;
    while (end < text.size() && !isSpaceOrTab(text[end]))
        ++end;
    const QByteArrayView word = text.first(end);
    text = TextKey::trimmed(text.sliced(end));
    return word;
}

// Takes the registration time off `rest`, what follows a copy's UUID on its
// line: three words ("2026-09-04 18:28:09 +0000"), fewer if the path, which
// starts with '/', comes first; none where "..." elides it.
QByteArrayView takeTime(QByteArrayView &rest)
{
    const char *start = rest.data();
    QByteArrayView last = rest.first(0);
    for (int words = 0; words < 3 && !rest.isEmpty() && rest.front() != '/'; ++words) {
        last = takeWord(rest);
        if (words == 0 && (last == "..." || last == "\xE2\x80\xA6")) // or an ellipsis
            return last.first(0);
    }
    return QByteArrayView(start, last.data() + last.size() - start);
}

// Where the "identifier(version)" of a line per copy ends: at the first ')'
// followed by white space or the line's end, as "((null))" has two.
qsizetype endOfHeader(QByteArrayView line)
{
    for (qsizetype close = ByteSearch::indexOf(line, ')'); close >= 0;
         close = ByteSearch::indexOf(line, ')', close + 1)) {
        if (close + 1 == line.size() || TextKey::startsWithTrimCharacter(line.sliced(close + 1)))
            return close + 1;
    }
    return -1;
}

} // namespace

// Blocks are separated by "\n\n". Two lines with text lie in one block exactly
// when no empty line stands between them, and only lines with text can hold a
// marker or the header: so closing the block at every empty line gives the
// records that splitting at "\n\n" gives, in one pass and without the split.
void ListingParser::addBytes(QByteArrayView utf8)
{
    if (m_keepsListing || !m_isOfBlocks) {
        const qsizetype searched = m_listing.size() - m_lineStart;
        m_listing += utf8;
        m_lineStart += addLines(QByteArrayView(m_listing).sliced(m_lineStart), searched);
        dropParsedLines();
        return;
    }
    // Only the records kept, and the listing past its start: lines are read
    // where they lie, and only a line split between pieces is put together,
    // from its start and the piece up to its first line end, or, after a CR,
    // up to the bytes that tell which line end it is.
    while (!m_listing.isEmpty() && !utf8.isEmpty()) {
        const qsizetype searched = m_listing.size();
        const qsizetype taken = m_crLineEnds && m_listing.endsWith('\r')
                                    ? std::min<qsizetype>(2, utf8.size())
                                    : afterFirstLineEnd(utf8, m_crLineEnds);
        if (taken < 0) {
            m_listing += utf8;
            return;
        }
        m_listing += utf8.first(taken);
        utf8 = utf8.sliced(taken);
        m_listing.remove(0, addLines(m_listing, searched));
    }
    m_listing += utf8.sliced(addLines(utf8, 0));
}

// Adds the lines that `text` ends, of which none ends before `searchFrom`
// (but for a CR just before it, still to be told apart), and returns where
// the rest of it starts. `atEnd`, the text ends the last line.
qsizetype ListingParser::addLines(QByteArrayView text, qsizetype searchFrom, bool atEnd)
{
    return forEachLine(text, searchFrom, m_crLineEnds, atEnd,
                       [this](QByteArrayView line) { addLine(line); });
}

// Without the whole listing kept, the lines read go, once the listing has
// shown itself to be of blocks.
void ListingParser::dropParsedLines()
{
    if (m_keepsListing || !m_isOfBlocks)
        return;
    m_listing.remove(0, m_lineStart);
    m_lineStart = 0;
}

// Room made at once, for pages that are filled as soon as they are made.
// The records' texts are parts of the listing's lines, hardly ever more than
// its size; a block of a record takes a few hundred bytes.
void ListingParser::reserve(qsizetype size)
{
    QByteArray &filled = m_keepsListing ? m_listing : m_texts;
    filled.reserve(size);
    m_records.reserve(size / 128);
    HugePages::advise(filled.constData(), filled.capacity());
    HugePages::advise(m_records.constData(), m_records.capacity() * qsizetype(sizeof(Appex)));
}

AppexList ListingParser::finish()
{
    const QByteArrayView rest = QByteArrayView(m_listing).sliced(m_lineStart);
    const qsizetype lastLine = addLines(rest, rest.size(), true);
    if (lastLine < rest.size())
        addLine(rest.sliced(lastLine));
    m_lineStart = m_listing.size();
    endListing();
    if (m_records.isEmpty())
        addOneLineRecords();
    if (!m_keepsListing) {
        m_listing.clear();
        m_texts.resize(m_textsSize);
    }
    for (Appex &record : m_records) {
        if (!record.m_ownsText)
            record.m_text = m_keepsListing ? m_listing : m_texts;
    }
    CopyAnnotation::annotate(m_records, m_inUseUuids);
    return std::exchange(m_records, {});
}

void ListingParser::addLine(QByteArrayView line)
{
    // A byte order mark opening the listing is no text.
    if (std::exchange(m_atListingStart, false) && line.startsWith(byteOrderMark))
        line = line.sliced(byteOrderMark.size());
    if (line.isEmpty()) {
        endBlock();
        return;
    }
    // A block's first line is most often its header.
    if (!m_blockHasText || !addUsualMarkerLine(line))
        addOtherLine(line);
}

// Almost every line of a listing reads "    Key = value", its marker first
// and its only '='. Such a line holds no other marker, and its value is the
// rest of the line, trimmed: what the general rule gives, without searching.
bool ListingParser::addUsualMarkerLine(QByteArrayView line)
{
    const QByteArrayView text = line.sliced(indentOf(line));
    const auto marker = std::find_if(markers.begin(), markers.end(), [text](const Marker &m) {
        return text.size() >= m.removed.size() && text.front() == m.removed.front() &&
               std::memcmp(text.data(), m.removed.data(), size_t(m.removed.size())) == 0;
    });
    if (marker == markers.end())
        return false;
    const QByteArrayView rest = text.sliced(marker->removed.size());
    if (ByteSearch::indexOf(rest, '=') >= 0)
        return false;
    if (marker->field != AppexField::SDK) {
        const QByteArrayView value = TextKey::trimmed(rest);
        m_lastLineCut = value.isEmpty();
        setField(marker->field, value);
        return true;
    }
    // The SDK is the point's end: both share its text.
    const QByteArrayView point = TextKey::trimmed(text.sliced(pointRemoved.size()));
    m_lastLineCut = point.isEmpty();
    setField(AppexField::Point, point);
    setFieldWithin(AppexField::SDK, TextKey::trimmed(rest), AppexField::Point, point);
    return true;
}

// Any other line: the header, keys that records do not keep, marker lines of
// other shapes, and what pastes hold besides the tool's lines: a Markdown
// quote's "> " before each line, shell prompts, and the count line between
// two pasted outputs, after which a header starts a block of its own.
void ListingParser::addOtherLine(QByteArrayView line)
{
    if (line.front() == '>') {
        line = unquoted(line);
        if (line.isEmpty()) {
            endBlock();
            return;
        }
        if (m_blockHasText && addUsualMarkerLine(line))
            return;
    }
    if (!m_blockHasText) {
        if (const std::optional<HeaderLine> header = HeaderLine::parse(line)) {
            m_blockHasText = true;
            m_lastLineCut = false;
            blockRecord().setElection(header->election);
            setField(AppexField::Identifier, header->identifier);
            setField(AppexField::Version, header->version);
            return; // a header holds no marker
        }
    }
    const MarkerMatch match = markerOf(line);
    if (!match.keyed) {
        const QByteArrayView text = TextKey::trimmed(line);
        if (text.isEmpty())
            return; // white space alone: no text, and no end of the block
        // A header's shape past the block's first line starts no block, but
        // is a whole line: as in a listing of a line per copy.
        const bool header = m_blockHasText && HeaderLine::parse(line);
        if (!header && isBesideRecords(text)) {
            endBlock();
            return;
        }
        m_blockHasText = true;
        m_lastLineCut = !header;
        return;
    }
    m_blockHasText = true;
    // Cut after its last '=', unless a value follows it: one ends most lines.
    m_lastLineCut = (line.back() == '=' || TextKey::isTrimCharacter(uchar(line.back()))) &&
                    TextKey::trimmed(line.sliced(match.lastEquals + 1)).isEmpty();
    if (!match.marker)
        return;
    QByteArray scratch;
    setField(match.marker->field,
             valueOf(line, match.marker->removed, match.position, match.lastEquals, scratch));
    if (match.marker->field == AppexField::SDK) // the point is the whole value
        setField(AppexField::Point,
                 valueOf(line, pointRemoved, match.position, match.lastEquals, scratch));
}

Appex &ListingParser::blockRecord()
{
    if (!m_blockHasRecord) {
        m_records.emplaceBack();
        m_blockHasRecord = true;
    }
    return m_records.last();
}

// A value is a stretch of the listing, unless it was made apart from it:
// its record then has texts of its own.
void ListingParser::setField(AppexField field, QByteArrayView value)
{
    Appex &record = blockRecord();
    const char *listing = m_listing.constData();
    if (!m_keepsListing) {
        record.m_spans[size_t(field)] = {quint32(m_textsSize), quint32(value.size())};
        appendText(value);
    } else if (!record.m_ownsText && value.data() >= listing &&
               value.data() <= listing + m_listing.size()) {
        record.m_spans[size_t(field)] = {quint32(value.data() - listing), quint32(value.size())};
    } else {
        record.setOwnText(field, value, m_listing);
    }
    if (field == AppexField::SDK)
        record.m_hasSDK = true;
}

// Without the listing kept, `value` shares the bytes of the field `outer`,
// just set to `outerValue`, which holds it.
void ListingParser::setFieldWithin(AppexField field, QByteArrayView value, AppexField outer,
                                   QByteArrayView outerValue)
{
    if (m_keepsListing) {
        setField(field, value);
        return;
    }
    Appex &record = blockRecord();
    const qsizetype within = value.isEmpty() ? 0 : value.data() - outerValue.data();
    record.m_spans[size_t(field)] = {record.m_spans[size_t(outer)].offset + quint32(within),
                                     quint32(value.size())};
    if (field == AppexField::SDK)
        record.m_hasSDK = true;
}

// Millions of short appends: room is made ahead, all that is reserved or
// twice over, and each text copied into it. Room never written to takes no
// memory.
void ListingParser::appendText(QByteArrayView text)
{
    if (text.isEmpty()) // an empty value's data may be null, which memcpy may not take
        return;
    if (m_textsSize + text.size() > m_texts.size())
        m_texts.resize(std::max(
            {m_texts.capacity(), 2 * m_texts.size(), m_textsSize + text.size() + 64 * 1024}));
    std::memcpy(m_texts.data() + m_textsSize, text.data(), size_t(text.size()));
    m_textsSize += text.size();
}

void ListingParser::endBlock()
{
    if (m_blockHasRecord && m_records.constLast().m_spans[size_t(AppexField::Uuid)].size == 0)
        m_records.removeLast();
    else if (m_blockHasRecord)
        m_isOfBlocks = true;
    m_blockHasRecord = false;
    m_blockHasText = false;
}

// The last block, when no blank line follows it, may be cut off where the
// text ends, as pastes are: its last line then looks cut ("    Display Name =",
// "    Parent Na"). Such a block is kept, marked, if it names its copy: by a
// UUID, or, cut before that, by its header, once the listing has shown itself
// to be of blocks, by another block or by keys of this one. A listing of a
// line per copy reads as one block of headers, and may end cut too: its lines
// are read one by one instead.
void ListingParser::endListing()
{
    if (m_blockHasRecord && m_lastLineCut) {
        Appex &record = m_records.last();
        const auto holds = [&record](AppexField field) {
            return record.m_spans[size_t(field)].size > 0;
        };
        const bool keyed = record.m_hasSDK || std::any_of(markers.begin(), markers.end(),
                                                          [&holds](const Marker &marker) {
                                                              return holds(marker.field);
                                                          });
        if (holds(AppexField::Uuid) || (holds(AppexField::Identifier) && (m_isOfBlocks || keyed))) {
            record.setProblems(AppexProblem::Incomplete);
            m_blockHasRecord = false; // kept, with or without a UUID
        }
    }
    endBlock();
}

// The shapes `pluginkit -m` prints, a line per copy: its tag, then
// "identifier(version)"; with -v, then its UUID, registration time and path,
// apart by tabs, spaces or both. A line with anything else after its
// "identifier(version)" is no record.
void ListingParser::addOneLineRecords()
{
    QByteArrayView listing(m_listing);
    if (listing.startsWith(byteOrderMark))
        listing = listing.sliced(byteOrderMark.size());
    const auto add = [this](QByteArrayView line) { addOneLineRecord(line); };
    add(listing.sliced(forEachLine(listing, 0, m_crLineEnds, true, add)));
}

void ListingParser::addOneLineRecord(QByteArrayView line)
{
    line = unquoted(line);
    const QByteArrayView text = TextKey::trimmed(line);
    const qsizetype headerEnd = endOfHeader(line);
    if (text.isEmpty() || headerEnd < 0 || isBesideRecords(text))
        return;
    const std::optional<HeaderLine> header = HeaderLine::parse(line.first(headerEnd));
    if (!header)
        return;
    QByteArrayView rest = TextKey::trimmed(line.sliced(headerEnd));
    QByteArrayView uuid = rest.first(0); // empty, within the listing as the other fields
    QByteArrayView time = uuid;
    if (!rest.isEmpty()) {
        uuid = takeWord(rest);
        if (!isUuid(uuid))
            return;
        time = takeTime(rest);
    }
    m_blockHasRecord = false;
    blockRecord().setElection(header->election);
    setField(AppexField::Identifier, header->identifier);
    setField(AppexField::Version, header->version);
    setField(AppexField::Uuid, uuid);
    setField(AppexField::Timestamp, time);
    setField(AppexField::Path, rest);
    m_blockHasRecord = false;
}

AppexList parseListing(QByteArrayView utf8)
{
    ListingParser parser;
    parser.addBytes(utf8);
    return parser.finish();
}
