#include "searchindex.h"

#include "prefetch.h"
#include "textkey.h"

#include <algorithm>
#include <string_view>

bool SearchIndex::build(Part part, const ListingRecords &records, size_t mostBytes)
{
    Keys &keys = part == Part::Uuids ? m_uuids : m_otherFields;
    const size_t otherBytes =
        keysOf(part == Part::Uuids ? Part::OtherFields : Part::Uuids).bytes.size();
    keys = Keys();
    keys.starts.reserve(size_t(records.count) + 1);
    keys.starts.push_back(0);
    if (part == Part::Uuids) // most are 36 characters
        keys.bytes.reserve(size_t(records.count) * 37);
    for (qsizetype i = 0; i < records.count; ++i) {
        Prefetch::ahead(records, i);
        const Appex &record = records.at(i);
        for (const AppexField field : AppexSearch::allFields) {
            if ((field == AppexField::Uuid) == (part == Part::Uuids)) {
                TextKey::appendKey(keys.bytes, record.bytes(field), true);
                keys.bytes += '\n';
            }
        }
        keys.starts.push_back(keys.bytes.size());
        if (otherBytes + keys.bytes.size() > mostBytes) {
            keys = Keys();
            return false;
        }
    }
    return true;
}

std::vector<bool> SearchIndex::matching(const AppexSearch &search) const
{
    std::vector<bool> matches(m_uuids.starts.empty() ? 0 : m_uuids.starts.size() - 1, false);
    const std::string_view query = search.queryKey();
    // No field holds a line feed, so no query with one matches; without one,
    // no match can run from one field into the next.
    if (query.empty() || query.find('\n') != std::string_view::npos)
        return matches;
    addMatches(m_uuids, query, matches);
    if (search.scope() == AppexSearch::Scope::AllFields)
        addMatches(m_otherFields, query, matches);
    return matches;
}

void SearchIndex::addMatches(const Keys &keys, std::string_view query, std::vector<bool> &matches)
{
    const std::string_view bytes = keys.bytes;
    for (size_t at = bytes.find(query); at != std::string_view::npos;) {
        const auto record = size_t(std::upper_bound(keys.starts.begin(), keys.starts.end(), at) -
                                   keys.starts.begin()) -
                            1;
        matches[record] = true;
        at = bytes.find(query, keys.starts[record + 1]); // the next record's
    }
}
