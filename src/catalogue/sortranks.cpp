#include "sortranks.h"

#include "sortorder.h"
#include "textkey.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>

namespace {

// The distinct values of one field of many records, and for each record the
// index of its value: a catalogue repeats its SDKs, parents and many names,
// and each distinct value then needs one key and one place in a sort.
struct DistinctValues
{
    std::vector<std::string_view> values;
    std::vector<quint32> indexOf; // by record

    DistinctValues(const ListingRecords &records, AppexField field)
        : indexOf(size_t(records.count))
    {
        // Open addressing over a power of two at least twice the records.
        size_t capacity = 16;
        while (capacity < size_t(records.count) * 2)
            capacity *= 2;
        constexpr quint32 empty = ~quint32(0);
        std::vector<quint32> table(capacity, empty);
        for (qsizetype i = 0; i < records.count; ++i) {
            const QByteArrayView bytes = records.at(i).bytes(field);
            const std::string_view value(bytes.data(), size_t(bytes.size()));
            size_t slot = qHash(bytes) & (capacity - 1);
            while (table[slot] != empty && values[table[slot]] != value)
                slot = (slot + 1) & (capacity - 1);
            if (table[slot] == empty) {
                table[slot] = quint32(values.size());
                values.push_back(value);
            }
            indexOf[size_t(i)] = table[slot];
        }
    }
};

// What texts compare by: their sort keys, or their bytes as they stand.
enum class RankBy { KeyIgnoringCase, KeyRespectingCase, Bytes };

// The sort keys of many texts, side by side in one buffer: one allocation
// instead of one per text, and no text read where it lies. Each key carries
// its first eight bytes as a big-endian number, which decides most
// comparisons without the buffer.
class SortKeys
{
public:
    SortKeys(const std::vector<std::string_view> &texts, RankBy by)
    {
        m_keys.reserve(texts.size());
        for (const std::string_view text : texts) {
            const qsizetype start = qsizetype(m_bytes.size());
            if (by == RankBy::Bytes)
                m_bytes += text;
            else
                TextKey::appendKey(m_bytes, QByteArrayView(text.data(), qsizetype(text.size())),
                                   by == RankBy::KeyIgnoringCase);
            m_keys.push_back({prefixOf(start), start, qsizetype(m_bytes.size()) - start});
        }
    }

    // Negative, zero or positive as the key of text a orders before, with
    // or after that of text b.
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

// Each record's rank by its value of `field`: by sort key, or by the bytes
// as they stand.
std::vector<quint32> ranksOf(const ListingRecords &records, AppexField field, RankBy by)
{
    DistinctValues distinct(records, field);
    const std::vector<std::string_view> &values = distinct.values;
    const SortKeys keys(values, by);
    const std::vector<quint32> rankOfValue =
        denseRanks(values.size(), [&keys](quint32 a, quint32 b) { return keys.compare(a, b); });
    for (quint32 &value : distinct.indexOf)
        value = rankOfValue[value];
    return std::move(distinct.indexOf);
}

} // namespace

const std::vector<quint32> &SortRanks::ranks(const ListingRecords &records, AppexField field)
{
    auto known = m_ranks.find(field);
    if (known == m_ranks.end()) {
        // UUIDs respect case; names, SDKs and parents ignore it.
        const RankBy by =
            field == AppexField::Uuid ? RankBy::KeyRespectingCase : RankBy::KeyIgnoringCase;
        known = m_ranks.emplace(field, ranksOf(records, field, by)).first;
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
    if (known == m_byteRanks.end())
        known = m_byteRanks.emplace(field, ranksOf(records, field, RankBy::Bytes)).first;
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
