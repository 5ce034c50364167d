#include "listingparser.h"

#include "textkey.h"

#include <array>
#include <optional>

namespace {

struct Marker
{
    QStringView key;     // the marker is the key followed by " = "
    QStringView removed; // what is cut out of a matching line
    QString Appex::*field;
};

// Tested in this order: the first marker that a line contains anywhere decides.
const std::array<Marker, 6> markers = {{
    {u"Path", u"Path = ", &Appex::path},
    {u"SDK", u"SDK = com.apple.", &Appex::SDK},
    {u"Display Name", u"Display Name = ", &Appex::name},
    {u"Parent Bundle", u"Parent Bundle = ", &Appex::parentPath},
    {u"Parent Name", u"Parent Name = ", &Appex::parentName},
    {u"UUID", u"UUID = ", &Appex::uuid},
}};

struct MarkerMatch
{
    const Marker *marker = nullptr;
    qsizetype position = -1; // of the marker's first occurrence
};

// Every marker ends in " = ", so a line holds a marker exactly when one of its
// " = " is preceded by the marker's key. Looking at the one or two " = " of a
// line spares six substring searches over every line of a large listing.
MarkerMatch markerOf(QStringView line)
{
    MarkerMatch found;
    for (qsizetype at = line.indexOf(u'='); at >= 0; at = line.indexOf(u'=', at + 1)) {
        if (at == 0 || at + 1 == line.size() || line[at - 1] != u' ' || line[at + 1] != u' ')
            continue;
        const QStringView before = line.first(at - 1);
        for (const Marker *marker = markers.data();
             marker != found.marker && marker != markers.end(); ++marker) {
            if (before.endsWith(marker->key)) {
                found = {marker, before.size() - marker->key.size()};
                break;
            }
        }
    }
    return found;
}

// The line without any occurrence of `removed`, trimmed. No occurrence of it
// starts before `from`.
QString valueOf(QStringView line, QStringView removed, qsizetype from)
{
    const qsizetype first = line.indexOf(removed, from);
    if (first < 0)
        return TextKey::trimmed(line).toString();
    const QStringView rest = line.sliced(first + removed.size());
    // Every removed text holds '=': a rest without one holds no second occurrence.
    const bool removedOnce = !rest.contains(u'=') || !rest.contains(removed);
    if (removedOnce && TextKey::trimmed(line.first(first)).isEmpty())
        return TextKey::trimmed(rest).toString(); // the usual "    Key = value" line
    QString value = line.toString();
    value.remove(removed.toString());
    return TextKey::trimmed(value).toString();
}

} // namespace

// Blocks are separated by "\n\n". Two lines with text lie in one block exactly
// when no empty line stands between them, and only lines with text can hold a
// marker: so closing the block at every empty line gives the records that
// splitting at "\n\n" gives, in one pass and without the split.
AppexList parseListing(QStringView text)
{
    AppexList records;
    std::optional<Appex> block; // made at the block's first marker line
    const auto endBlock = [&] {
        if (block && !block->uuid.isEmpty())
            records.append(std::move(*block));
        block.reset();
    };

    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(start, end - start);
        if (line.isEmpty()) {
            endBlock();
        } else if (const MarkerMatch match = markerOf(line); match.marker) {
            if (!block)
                block.emplace();
            (*block).*(match.marker->field) = valueOf(line, match.marker->removed, match.position);
        }
        start = end + 1;
    }
    endBlock();
    return records;
}
