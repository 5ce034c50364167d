#include "headerline.h"

#include "appex.h"
#include "textkey.h"

namespace {

QString electionOfTag(QChar tag)
{
    switch (tag.unicode()) {
    case u'+':
        return Election::use;
    case u'-':
        return Election::ignore;
    case u'!':
        return Election::debug;
    case u'=':
        return Election::superseded;
    case u'?':
        return Election::unknown;
    default:
        return {};
    }
}

} // namespace

std::optional<HeaderLine> HeaderLine::parse(QStringView line)
{
    QStringView text = TextKey::trimmed(line);
    if (!text.endsWith(u')') || !text.contains(u'(') || line.contains(u" = "))
        return std::nullopt;

    HeaderLine header;
    if (text.size() > 1 && TextKey::isTrimCharacter(text[1].unicode())) {
        header.election = electionOfTag(text[0]);
        if (!header.election.isEmpty())
            text = TextKey::trimmed(text.sliced(1));
    }
    const qsizetype open = text.lastIndexOf(u'(');
    header.identifier = TextKey::trimmed(text.first(open));
    header.version = TextKey::trimmed(text.sliced(open + 1).chopped(1));
    return header;
}
