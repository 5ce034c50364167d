#include "uuidsearch.h"

#include "textkey.h"

#include <algorithm>

UuidSearch::UuidSearch(QStringView query)
    : m_queryKey(TextKey::caseInsensitive(query))
    , m_asciiQuery(TextKey::isAscii(query))
{}

bool UuidSearch::matches(const Appex &record) const
{
    if (m_queryKey.empty())
        return false;
    const QStringView uuid = record.uuid;
    // The tool's UUIDs are ASCII: lower-case them on the fly, without a copy.
    // A non-ASCII text can lower-case to ASCII (the Kelvin sign to "k"), so
    // only two ASCII texts may take this path.
    if (m_asciiQuery && TextKey::isAscii(uuid)) {
        return std::search(uuid.begin(), uuid.end(), m_queryKey.begin(), m_queryKey.end(),
                           [](QChar c, char q) { return TextKey::asciiLower(c.unicode()) == q; }) !=
               uuid.end();
    }
    return TextKey::caseInsensitive(uuid).find(m_queryKey) != std::string::npos;
}

AppexList UuidSearch::filter(const AppexList &records) const
{
    AppexList found;
    std::copy_if(records.begin(), records.end(), std::back_inserter(found),
                 [this](const Appex &record) { return matches(record); });
    return found;
}
