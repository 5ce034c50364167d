#include "listingparser.h"

#include "headerline.h"
#include "textkey.h"

#include <array>

namespace {

struct Marker
{
    QStringView key;     // the marker is the key followed by " = "
    QStringView removed; // what is cut out of a matching line
    QString Appex::*field;
    bool shared; // many records hold the same value
};

// Tested in this order: the first marker that a line contains anywhere decides.
const std::array<Marker, 6> markers = {{
    {u"Path", u"Path = ", &Appex::path, false},
    {u"SDK", u"SDK = com.apple.", &Appex::SDK, true},
    {u"Display Name", u"Display Name = ", &Appex::name, false},
    {u"Parent Bundle", u"Parent Bundle = ", &Appex::parentPath, true},
    {u"Parent Name", u"Parent Name = ", &Appex::parentName, true},
    {u"UUID", u"UUID = ", &Appex::uuid, false},
}};

struct MarkerMatch
{
    const Marker *marker = nullptr;
    qsizetype position = -1;   // of the marker's first occurrence
    qsizetype lastEquals = -1; // where the line's last '=' is
};

// Every marker ends in " = ", so a line holds a marker exactly when one of its
// " = " is preceded by the marker's key. Looking at the one or two " = " of a
// line spares six substring searches over every line of a large listing.
MarkerMatch markerOf(QStringView line)
{
    MarkerMatch found;
    for (qsizetype at = line.indexOf(u'='); at >= 0; at = line.indexOf(u'=', at + 1)) {
        found.lastEquals = at;
        if (at < 2 || at + 1 == line.size() || line[at - 1] != u' ' || line[at + 1] != u' ')
            continue;
        const QStringView before = line.first(at - 1);
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
QStringView valueOf(QStringView line, QStringView removed, qsizetype from, qsizetype lastEquals,
                    QString &scratch)
{
    const qsizetype first =
        line.sliced(from).startsWith(removed) ? from : line.indexOf(removed, from);
    if (first < 0)
        return TextKey::trimmed(line);
    const QStringView rest = line.sliced(first + removed.size());
    // Every removed text holds '=': a rest without one holds no second occurrence.
    const bool removedOnce = lastEquals < first + removed.size() || !rest.contains(removed);
    if (removedOnce && TextKey::trimmed(line.first(first)).isEmpty())
        return TextKey::trimmed(rest); // the usual "    Key = value" line
    scratch = line.toString();
    scratch.remove(removed.toString());
    return TextKey::trimmed(scratch);
}

} // namespace

// Blocks are separated by "\n\n". Two lines with text lie in one block exactly
// when no empty line stands between them, and only lines with text can hold a
// marker or the header: so closing the block at every empty line gives the
// records that splitting at "\n\n" gives, in one pass and without the split.
void ListingParser::addText(QStringView text)
{
    qsizetype start = 0;
    for (qsizetype end = text.indexOf(u'\n'); end >= 0; end = text.indexOf(u'\n', start)) {
        const QStringView line = text.sliced(start, end - start);
        if (m_partialLine.isEmpty()) {
            addLine(line);
        } else {
            m_partialLine += line;
            addLine(m_partialLine);
            m_partialLine.clear();
        }
        start = end + 1;
    }
    m_partialLine += text.sliced(start);
}

AppexList ListingParser::finish()
{
    addLine(m_partialLine);
    m_partialLine.clear();
    endBlock();
    return std::exchange(m_records, {});
}

void ListingParser::addLine(QStringView line)
{
    if (line.isEmpty()) {
        endBlock();
        return;
    }
    if (!m_blockHasText && !TextKey::trimmed(line).isEmpty()) {
        m_blockHasText = true;
        if (const std::optional<HeaderLine> header = HeaderLine::parse(line)) {
            Appex &record = blockRecord();
            record.identifier = header->identifier.toString();
            record.version = m_sharedValues.get(header->version);
            record.election = header->election;
            return; // a header holds no marker
        }
    }
    if (const MarkerMatch match = markerOf(line); match.marker) {
        QString scratch;
        const QStringView value =
            valueOf(line, match.marker->removed, match.position, match.lastEquals, scratch);

        blockRecord().*(match.marker->field) =
            match.marker->shared ? m_sharedValues.get(value) : value.toString();
    }
}

Appex &ListingParser::blockRecord()
{
    if (!m_blockHasRecord) {
        m_records.emplaceBack();
        m_blockHasRecord = true;
    }
    return m_records.last();
}

void ListingParser::endBlock()
{
    if (m_blockHasRecord && m_records.constLast().uuid.isEmpty())
        m_records.removeLast();
    m_blockHasRecord = false;
    m_blockHasText = false;
}

QString ListingParser::SharedValues::get(QStringView value)
{
    if (const auto known = m_values.find(value); known != m_values.end())
        return *known;
    if (m_values.size() >= maxValues) // not a value that many records share, then
        return value.toString();
    return *m_values.insert(value.toString()).first;
}

AppexList parseListing(QStringView text)
{
    ListingParser parser;
    parser.addText(text);
    return parser.finish();
}
