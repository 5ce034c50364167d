#include "appexsearch.h"

#include "textkey.h"

namespace {

constexpr std::array uuidOnly = {AppexField::Uuid};

} // namespace

AppexSearch::AppexSearch(QStringView query, Scope scope)
    : m_queryKey(TextKey::caseInsensitive(query))
    , m_asciiQuery(TextKey::isAscii(query))
    , m_scope(scope)
    , m_fields(scope == Scope::Uuid ? std::span<const AppexField>(uuidOnly)
                                    : std::span<const AppexField>(searchedFields))
{}

bool AppexSearch::matches(const Appex &record) const
{
    if (m_queryKey.empty())
        return false;
    return std::any_of(m_fields.begin(), m_fields.end(),
                       [&](AppexField field) { return fieldMatches(record.bytes(field)); });
}

bool AppexSearch::fieldMatches(QByteArrayView utf8) const
{
    // Most texts are ASCII: lower-case them on the fly, without a copy. A
    // non-ASCII text can lower-case to ASCII (the Kelvin sign to "k") or hold
    // a combining mark that joins the character before it, so only two ASCII
    // texts may take this path.
    if (m_asciiQuery) {
        if (const auto found = TextKey::asciiFind(utf8, m_queryKey))
            return *found;
    }
    std::string key;
    TextKey::appendKey(key, utf8, true);
    return key.find(m_queryKey) != std::string::npos;
}
