#include "sortorder.h"

#include "textkey.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

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
        for (const Appex &record : records) {
            const qsizetype start = qsizetype(m_bytes.size());
            TextKey::appendKey(m_bytes, record.bytes(field), ignoringCase);
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
    const SortKeys primary(
        records, sortCode == SortCode::Parent ? AppexField::ParentName : AppexField::SDK, true);
    const SortKeys names(records, AppexField::Name, true);
    std::stable_sort(positions.begin(), positions.end(), [&](qsizetype a, qsizetype b) {
        const int byPrimary = primary.compare(a, b);
        return byPrimary != 0 ? byPrimary < 0 : names.compare(a, b) < 0;
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
