#include "sortranks.h"

#include "sortorder.h"
#include "textkey.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// The sort keys of one field of every record, side by side in one buffer:
// one allocation for a whole catalogue instead of one per record. Each key
// carries its first eight bytes as a big-endian number, which decides most
// comparisons without touching the buffer.
class SortKeys
{
public:
    SortKeys(const ListingRecords &records, AppexField field, bool ignoringCase)
    {
        m_keys.reserve(size_t(records.count));
        for (qsizetype i = 0; i < records.count; ++i) {
            const qsizetype start = qsizetype(m_bytes.size());
            TextKey::appendKey(m_bytes, records.at(i).bytes(field), ignoringCase);
            m_keys.push_back({prefixOf(start), start, qsizetype(m_bytes.size()) - start});
        }
    }

    // Negative, zero or positive as the key of record a orders before, with
    // or after that of record b.
    [[nodiscard]] int compare(qsizetype a, qsizetype b) const
    {
        const Key &ka = m_keys[size_t(a)];
        const Key &kb = m_keys[size_t(b)];
        if (ka.prefix != kb.prefix)
            return ka.prefix < kb.prefix ? -1 : 1;
        return std::string_view(m_bytes)
            .substr(size_t(ka.start), size_t(ka.size))
            .compare(std::string_view(m_bytes).substr(size_t(kb.start), size_t(kb.size)));
    }

private:
    struct Key
    {
        quint64 prefix;
        qsizetype start;
        qsizetype size;
    };

    [[nodiscard]] quint64 prefixOf(qsizetype start) const
    {
        unsigned char bytes[8] = {};
        std::memcpy(bytes, m_bytes.data() + start,
                    std::min<size_t>(m_bytes.size() - size_t(start), sizeof bytes));
        quint64 prefix = 0;
        for (const unsigned char byte : bytes)
            prefix = (prefix << 8) | byte;
        return prefix;
    }

    std::string m_bytes;
    std::vector<Key> m_keys;
};

// Ranks from 0 for the items 0 to `count` less one, in the order of
// `compare` (negative, zero or positive); items that compare equal share one.
template<typename Compare> std::vector<quint32> denseRanks(size_t count, Compare compare)
{
    std::vector<quint32> byKey(count);
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&compare](quint32 a, quint32 b) { return compare(a, b) < 0; });
    std::vector<quint32> ranks(count);
    quint32 rank = 0;
    for (size_t k = 0; k < byKey.size(); ++k) {
        if (k > 0 && compare(byKey[k - 1], byKey[k]) != 0)
            ++rank;
        ranks[byKey[k]] = rank;
    }
    return ranks;
}

// The ranks of a field that holds few distinct values, as SDKs and parents
// do: each distinct value's key is made and compared once.
std::vector<quint32> ranksOfFewValues(const ListingRecords &records, AppexField field)
{
    std::unordered_map<std::string_view, quint32> indexOf;
    std::vector<std::string_view> values;
    std::vector<quint32> ranks(size_t(records.count));
    for (qsizetype i = 0; i < records.count; ++i) {
        const QByteArrayView bytes = records.at(i).bytes(field);
        const auto [known, added] = indexOf.try_emplace(
            std::string_view(bytes.data(), size_t(bytes.size())), quint32(values.size()));
        if (added)
            values.push_back(known->first);
        ranks[size_t(i)] = known->second;
    }
    std::vector<std::string> keys(values.size());
    for (size_t v = 0; v < values.size(); ++v)
        TextKey::appendKey(keys[v], QByteArrayView(values[v].data(), qsizetype(values[v].size())),
                           true);
    const std::vector<quint32> rankOfValue =
        denseRanks(keys.size(), [&keys](quint32 a, quint32 b) { return keys[a].compare(keys[b]); });
    for (quint32 &value : ranks)
        value = rankOfValue[value];
    return ranks;
}

// The ranks of a field whose values are mostly distinct, as names and UUIDs.
std::vector<quint32> ranksOfManyValues(const ListingRecords &records, AppexField field,
                                       bool ignoringCase)
{
    const SortKeys keys(records, field, ignoringCase);
    return denseRanks(size_t(records.count),
                      [&keys](quint32 a, quint32 b) { return keys.compare(a, b); });
}

} // namespace

const std::vector<quint32> &SortRanks::ranks(const ListingRecords &records, AppexField field)
{
    auto known = m_ranks.find(field);
    if (known == m_ranks.end()) {
        std::vector<quint32> ranks =
            field == AppexField::Uuid   ? ranksOfManyValues(records, field, false)
            : field == AppexField::Name ? ranksOfManyValues(records, field, true)
                                        : ranksOfFewValues(records, field);
        known = m_ranks.emplace(field, std::move(ranks)).first;
    }
    return known->second;
}

std::vector<qsizetype> SortRanks::order(const ListingRecords &records,
                                        std::span<const qsizetype> rowKeys, qint64 sortCode)
{
    const AppexField first = sortCode == SortCode::Parent ? AppexField::ParentName
                             : sortCode == SortCode::UUID ? AppexField::Uuid
                             : sortCode == SortCode::Name ? AppexField::Name
                                                          : AppexField::SDK;
    const bool byName = first == AppexField::SDK || first == AppexField::ParentName;
    const std::vector<quint32> &primary = ranks(records, first);
    const std::vector<quint32> *names = byName ? &ranks(records, AppexField::Name) : nullptr;
    return rowsByNumber(rowKeys, [&](size_t key) {
        return quint64(primary[key]) << 32 | (names ? (*names)[key] : 0);
    });
}

std::vector<qsizetype> SortRanks::order(const ListingRecords &records,
                                        std::span<const qsizetype> rowKeys, AppexField field,
                                        Qt::SortOrder order)
{
    auto known = m_byteRanks.find(field);
    if (known == m_byteRanks.end()) {
        std::vector<std::string_view> values(size_t(records.count));
        for (qsizetype i = 0; i < records.count; ++i) {
            const QByteArrayView bytes = records.at(i).bytes(field);
            values[size_t(i)] = std::string_view(bytes.data(), size_t(bytes.size()));
        }
        known = m_byteRanks
                    .emplace(field, denseRanks(values.size(),
                                               [&values](quint32 a, quint32 b) {
                                                   return values[a].compare(values[b]);
                                               }))
                    .first;
    }
    const std::vector<quint32> &ranks = known->second;
    const bool descending = order == Qt::DescendingOrder;
    return rowsByNumber(rowKeys, [&ranks, descending](size_t key) {
        return descending ? ~quint64(ranks[key]) : quint64(ranks[key]);
    });
}

template<typename NumberOf>
std::vector<qsizetype> SortRanks::rowsByNumber(std::span<const qsizetype> rowKeys,
                                               NumberOf numberOf)
{
    // Ties keep their order: the row decides them.
    std::vector<std::pair<quint64, qsizetype>> numbered(rowKeys.size());
    for (size_t row = 0; row < rowKeys.size(); ++row)
        numbered[row] = {numberOf(size_t(rowKeys[row])), qsizetype(row)};
    std::sort(numbered.begin(), numbered.end());
    std::vector<qsizetype> rows(numbered.size());
    for (size_t i = 0; i < numbered.size(); ++i)
        rows[i] = numbered[i].second;
    return rows;
}
