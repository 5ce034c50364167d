#include "sortorder.h"

#include "prefetch.h"
#include "textkey.h"

#include <algorithm>
#include <cstring>
#include <numeric>
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
    SortKeys(const AppexList &records, AppexField field, bool ignoringCase)
    {
        m_keys.reserve(size_t(records.size()));
        for (qsizetype i = 0; i < records.size(); ++i) {
            Prefetch::ahead(records, i, {{field}});
            const qsizetype start = qsizetype(m_bytes.size());
            TextKey::appendKey(m_bytes, records[i].bytes(field), ignoringCase);
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

// The rank of each record's value of `field` among the distinct values, in
// key order; values with equal keys share a rank. A catalogue holds few SDKs
// and parents: each distinct value's key is made once, and records compare
// by a number.
std::vector<quint32> ranksOf(const AppexList &records, AppexField field)
{
    std::unordered_map<std::string_view, quint32> indexOf;
    std::vector<std::string_view> values;
    std::vector<quint32> ranks(size_t(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        Prefetch::ahead(records, i, {{field}});
        const QByteArrayView bytes = records[i].bytes(field);
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
    std::vector<quint32> byKey(values.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&keys](quint32 a, quint32 b) { return keys[a] < keys[b]; });
    std::vector<quint32> rankOfValue(values.size());
    quint32 rank = 0;
    for (size_t k = 0; k < byKey.size(); ++k) {
        if (k > 0 && keys[byKey[k]] != keys[byKey[k - 1]])
            ++rank;
        rankOfValue[byKey[k]] = rank;
    }
    for (quint32 &value : ranks)
        value = rankOfValue[value];
    return ranks;
}

} // namespace

namespace SortOrder {

std::vector<qsizetype> order(const AppexList &records, qint64 sortCode)
{
    std::vector<qsizetype> positions(size_t(records.size()));
    std::iota(positions.begin(), positions.end(), 0);
    if (sortCode == SortCode::UUID || sortCode == SortCode::Name) {
        const SortKeys keys = sortCode == SortCode::UUID
                                  ? SortKeys(records, AppexField::Uuid, false)
                                  : SortKeys(records, AppexField::Name, true);
        std::stable_sort(positions.begin(), positions.end(),
                         [&keys](qsizetype a, qsizetype b) { return keys.compare(a, b) < 0; });
        return positions;
    }
    const std::vector<quint32> primary =
        ranksOf(records, sortCode == SortCode::Parent ? AppexField::ParentName : AppexField::SDK);
    const SortKeys names(records, AppexField::Name, true);
    std::stable_sort(positions.begin(), positions.end(), [&](qsizetype a, qsizetype b) {
        const quint32 rankA = primary[size_t(a)];
        const quint32 rankB = primary[size_t(b)];
        return rankA != rankB ? rankA < rankB : names.compare(a, b) < 0;
    });
    return positions;
}

void apply(AppexList &records, const std::vector<qsizetype> &order)
{
    // In place, one cycle of the permutation at a time: no second list.
    std::vector<bool> placed(order.size(), false);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        Appex first = std::move(records[qsizetype(start)]);
        size_t at = start;
        while (size_t(order[at]) != start) {
            records[qsizetype(at)] = std::move(records[order[at]]);
            placed[at] = true;
            at = size_t(order[at]);
        }
        records[qsizetype(at)] = std::move(first);
        placed[at] = true;
    }
}

} // namespace SortOrder
