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

// A two-character tag, as "H.": characters other than white space and
// parentheses, then white space.
bool startsWithTwoCharacterTag(QByteArrayView text)
{
    const auto tagCharacter = [](char c) { return c > ' ' && c < 0x7F && c != '(' && c != ')'; };
    return text.size() > 2 && tagCharacter(text[0]) && tagCharacter(text[1]) &&
           TextKey::startsWithTrimCharacter(text.sliced(2));
}

constexpr QByteArrayView nullVersion("((null))");

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
    } else if (startsWithTwoCharacterTag(text)) {
        header.election = AppexElection::Unknown;
        text = TextKey::trimmed(text.sliced(2));
    }
    const qsizetype open = ByteSearch::lastIndexOf(text, '(');
    if (open > 0 && text[open - 1] == '(' && text.sliced(open - 1) == nullVersion) {
        header.identifier = TextKey::trimmed(text.first(open - 1));
        header.version = text.last(0); // empty, but within the line as the other parts
    } else {
        header.identifier = TextKey::trimmed(text.first(open));
        header.version = TextKey::trimmed(text.sliced(open + 1).chopped(1));
    }
    if (header.identifier.isEmpty()) // "(no matches)", " (3 plug-ins)"
        return std::nullopt;
    return header;
}
