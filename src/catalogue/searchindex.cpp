#include "searchindex.h"

#include "textkey.h"

#include <algorithm>
#include <string_view>

bool SearchIndex::build(int count, const std::function<const Appex &(int row)> &recordAt,
                        size_t mostBytes)
{
    m_keys.clear();
    m_starts.assign(1, 0);
    m_uuidEnds.clear();
    for (int row = 0; row < count; ++row) {
        const Appex &record = recordAt(row);
        TextKey::appendKey(m_keys, record.bytes(AppexField::Uuid), true);
        m_uuidEnds.push_back(m_keys.size());
        m_keys += '\n';
        for (const AppexField field : AppexSearch::allFields) {
            if (field == AppexField::Uuid)
                continue;
            TextKey::appendKey(m_keys, record.bytes(field), true);
            m_keys += '\n';
        }
        m_starts.push_back(m_keys.size());
        if (m_keys.size() > mostBytes) {
            *this = SearchIndex();
            return false;
        }
    }
    return true;
}

std::vector<bool> SearchIndex::matching(const AppexSearch &search) const
{
    std::vector<bool> matches(m_uuidEnds.size(), false);
    const std::string_view query = search.queryKey();
    // No field holds a line feed, so no query with one matches; without one,
    // no match can run from one field into the next.
    if (query.empty() || query.find('\n') != std::string_view::npos)
        return matches;
    const std::string_view keys = m_keys;
    const bool uuidOnly = search.scope() == AppexSearch::Scope::Uuid;
    for (size_t at = keys.find(query); at != std::string_view::npos;) {
        const auto row =
            size_t(std::upper_bound(m_starts.begin(), m_starts.end(), at) - m_starts.begin()) - 1;
        if (!uuidOnly || at + query.size() <= m_uuidEnds[row])
            matches[row] = true;
        if (matches[row] || at >= m_uuidEnds[row])
            at = keys.find(query, m_starts[row + 1]); // the next row
        else
            at = keys.find(query, at + 1);
    }
    return matches;
}
