#include "searchindex.h"

#include "prefetch.h"
#include "textkey.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::array uuidOnly = {AppexField::Uuid};

} // namespace

bool SearchIndex::build(Part part, const ListingRecords &records, std::span<const qsizetype> keys,
                        size_t mostBytes)
{
    Keys &index = part == Part::Uuids ? m_uuids : m_otherFields;
    const size_t otherBytes =
        keysOf(part == Part::Uuids ? Part::OtherFields : Part::Uuids).bytes.size();
    index = Keys();
    index.keys.assign(keys.begin(), keys.end());
    index.starts.reserve(size_t(records.count) + 1);
    index.starts.push_back(0);
    if (part == Part::Uuids) // most are 36 characters
        index.bytes.reserve(size_t(records.count) * 37);
    for (qsizetype i = 0; i < records.count; ++i) {
        Prefetch::ahead(records, i,
                        part == Part::Uuids ? std::span<const AppexField>(uuidOnly)
                                            : std::span<const AppexField>(searchedFields));
        const Appex &record = records.at(i);
        for (const AppexField field : searchedFields) {
            if ((field == AppexField::Uuid) == (part == Part::Uuids)) {
                TextKey::appendKey(index.bytes, record.bytes(field), true);
                index.bytes += '\n';
            }
        }
        index.starts.push_back(index.bytes.size());
        if (otherBytes + index.bytes.size() > mostBytes) {
            index = Keys();
            return false;
        }
    }
    return true;
}

std::vector<bool> SearchIndex::matching(const AppexSearch &search) const
{
    std::vector<bool> matches(m_uuids.keys.size(), false);
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
        const auto entry = size_t(std::upper_bound(keys.starts.begin(), keys.starts.end(), at) -
                                  keys.starts.begin()) -
                           1;
        matches[size_t(keys.keys[entry])] = true;
        at = bytes.find(query, keys.starts[entry + 1]); // the next record's
    }
}

void SearchIndex::adopt(SearchIndex other)
{
    if (!has(Part::Uuids))
        m_uuids = std::move(other.m_uuids);
    if (!has(Part::OtherFields))
        m_otherFields = std::move(other.m_otherFields);
}
