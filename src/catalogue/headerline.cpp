#include "headerline.h"

#include "appexelection.h"
#include "bytesearch.h"
#include "textkey.h"

namespace {

AppexElection electionOfTag(char tag)
{
    for (const AppexElectionInfo &info : appexElections) {
        if (info.tag == tag && tag != '\0')
            return info.election;
    }
    return AppexElection::None;
}

// Whether `line` holds " = ". A header line rarely holds an '=' at all, so
// looking for that character is quicker than looking for the three.
bool holdsSpacedEquals(QByteArrayView line)
{
    for (qsizetype at = ByteSearch::indexOf(line, '='); at >= 0;
         at = ByteSearch::indexOf(line, '=', at + 1)) {
        if (at > 0 && at + 1 < line.size() && line[at - 1] == ' ' && line[at + 1] == ' ')
            return true;
    }
    return false;
}

} // namespace

std::optional<HeaderLine> HeaderLine::parse(QByteArrayView line)
{
    QByteArrayView text = TextKey::trimmed(line);
    if (!text.endsWith(')') || ByteSearch::indexOf(text, '(') < 0 || holdsSpacedEquals(line))
        return std::nullopt;

    HeaderLine header;
    if (text.size() > 1 && TextKey::startsWithTrimCharacter(text.sliced(1))) {
        header.election = electionOfTag(text[0]);
        if (header.election != AppexElection::None)
            text = TextKey::trimmed(text.sliced(1));
    }
    const qsizetype open = ByteSearch::lastIndexOf(text, '(');
    header.identifier = TextKey::trimmed(text.first(open));
    header.version = TextKey::trimmed(text.sliced(open + 1).chopped(1));
    return header;
}
