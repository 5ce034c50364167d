#include "headerline.h"

#include "textkey.h"

namespace {

AppexElection electionOfTag(char tag)
{
    switch (tag) {
    case '+':
        return AppexElection::Use;
    case '-':
        return AppexElection::Ignore;
    case '!':
        return AppexElection::Debug;
    case '=':
        return AppexElection::Superseded;
    case '?':
        return AppexElection::Unknown;
    default:
        return AppexElection::None;
    }
}

} // namespace

std::optional<HeaderLine> HeaderLine::parse(QByteArrayView line)
{
    QByteArrayView text = TextKey::trimmed(line);
    if (!text.endsWith(')') || !text.contains('(') || line.contains(" = "))
        return std::nullopt;

    HeaderLine header;
    if (text.size() > 1 && TextKey::startsWithTrimCharacter(text.sliced(1))) {
        header.election = electionOfTag(text[0]);
        if (header.election != AppexElection::None)
            text = TextKey::trimmed(text.sliced(1));
    }
    const qsizetype open = text.lastIndexOf('(');
    header.identifier = TextKey::trimmed(text.first(open));
    header.version = TextKey::trimmed(text.sliced(open + 1).chopped(1));
    return header;
}
