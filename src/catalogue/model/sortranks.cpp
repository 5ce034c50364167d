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
class DistinctValues
{
public:
    std::vector<std::string_view> values;
    std::vector<quint32> indexOf; // by record

    DistinctValues(const ListingRecords &records, AppexField field)
        : indexOf(size_t(records.count))
    {
        for (qsizetype i = 0; i < records.count; ++i) {
            const QByteArrayView bytes = records.at(i).bytes(field);
            const std::string_view value(bytes.data(), size_t(bytes.size()));
            // The standard library's hash of bytes takes half the time of qHash's.
            indexOf[size_t(i)] = indexOfValue(value, std::hash<std::string_view>()(value));
        }
    }

private:
    static constexpr quint32 emptySlot = ~quint32(0);

    // Open addressing over a power of two at least twice the values: small
    // while they are few, as they mostly are, so that it stays in the cache.
    quint32 indexOfValue(std::string_view value, size_t hash)
    {
        if (2 * (values.size() + 1) > m_slots.size())
            grow();
        const size_t mask = m_slots.size() - 1;
        size_t slot = hash & mask;
        while (m_slots[slot].index != emptySlot &&
               (m_slots[slot].hash != hash || values[m_slots[slot].index] != value))
            slot = (slot + 1) & mask;
        if (m_slots[slot].index == emptySlot) {
            m_slots[slot] = {hash, quint32(values.size())};
            values.push_back(value);
        }
        return m_slots[slot].index;
    }

    void grow()
    {
        std::vector<Slot> table(std::max<size_t>(64, 2 * m_slots.size()));
        const size_t mask = table.size() - 1;
        for (const Slot &known : m_slots) {
            if (known.index == emptySlot)
                continue;
            size_t slot = known.hash & mask;
            while (table[slot].index != emptySlot)
                slot = (slot + 1) & mask;
            table[slot] = known;
        }
        m_slots = std::move(table);
    }

    struct Slot
    {
        size_t hash = 0;
        quint32 index = emptySlot;
    };
    std::vector<Slot> m_slots;
};

// The sort keys of many texts, side by side in one buffer: one allocation
// instead of one per text, and no text read where it lies. Each key carries
// its first eight bytes as a big-endian number, which decides most
// comparisons without the buffer.
class SortKeys
{
public:
    SortKeys(const std::vector<std::string_view> &texts, const SortRanks::AppendKey &appendKey)
    {
        m_keys.reserve(texts.size());
        for (const std::string_view text : texts) {
            const qsizetype start = qsizetype(m_bytes.size());
            appendKey(m_bytes, QByteArrayView(text.data(), qsizetype(text.size())));
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
template<typename Compare> SortRanks::Ranks denseRanks(size_t count, Compare compare)
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
    return {std::move(ranks), count > 0 ? rank + 1 : 0};
}

// `rows` stably reordered by their ranks, `rowKeys` naming the record of
// each row: a counting sort, in time linear in the rows and ranks.
std::vector<qsizetype> byRank(const std::vector<qsizetype> &rows,
                              std::span<const qsizetype> rowKeys, const SortRanks::Ranks &ranks,
                              Qt::SortOrder order)
{
    const auto rankOf = [&](qsizetype row) {
        const quint32 rank = ranks.ofKey[size_t(rowKeys[size_t(row)])];
        return order == Qt::AscendingOrder ? rank : ranks.count - 1 - rank;
    };
    std::vector<qsizetype> firstOfRank(size_t(ranks.count) + 1);
    for (const qsizetype row : rows)
        ++firstOfRank[rankOf(row) + 1];
    std::partial_sum(firstOfRank.begin(), firstOfRank.end(), firstOfRank.begin());
    std::vector<qsizetype> sorted(rows.size());
    for (const qsizetype row : rows)
        sorted[size_t(firstOfRank[rankOf(row)]++)] = row;
    return sorted;
}

std::vector<qsizetype> rowsInOrder(size_t count)
{
    std::vector<qsizetype> rows(count);
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

} // namespace

SortRanks::Ranks SortRanks::textRanks(const ListingRecords &records, AppexField field)
{
    // UUIDs respect case; names, SDKs and parents ignore it.
    const bool ignoringCase = field != AppexField::Uuid;
    return ranks(records, field, [ignoringCase](std::string &key, QByteArrayView value) {
        TextKey::appendKey(key, value, ignoringCase);
    });
}

std::vector<AppexField> SortRanks::fieldsWithoutRanks() const
{
    std::vector<AppexField> fields;
    for (const AppexField field : sortedFields) {
        if (!m_ranks.contains(field))
            fields.push_back(field);
    }
    return fields;
}

const SortRanks::Ranks &SortRanks::knownRanks(const ListingRecords &records, AppexField field)
{
    auto known = m_ranks.find(field);
    if (known == m_ranks.end())
        known = m_ranks.emplace(field, textRanks(records, field)).first;
    return known->second;
}

// Sorting by the name first and then, stably, by the first field orders the
// rows by both, ties kept in the rows' order.
std::vector<qsizetype> SortRanks::order(const ListingRecords &records,
                                        std::span<const qsizetype> rowKeys, SortCode sortCode)
{
    static_assert(sortedFields[size_t(SortCode::SDK)] == AppexField::SDK &&
                  sortedFields[size_t(SortCode::Parent)] == AppexField::ParentName &&
                  sortedFields[size_t(SortCode::UUID)] == AppexField::Uuid &&
                  sortedFields[size_t(SortCode::Name)] == AppexField::Name);
    const AppexField first = sortedFields[size_t(sortCode)];
    std::vector<qsizetype> rows = rowsInOrder(rowKeys.size());
    if (first == AppexField::SDK || first == AppexField::ParentName)
        rows = byRank(rows, rowKeys, knownRanks(records, AppexField::Name), Qt::AscendingOrder);
    return byRank(rows, rowKeys, knownRanks(records, first), Qt::AscendingOrder);
}

SortRanks::Ranks SortRanks::ranks(const ListingRecords &records, AppexField field,
                                  const AppendKey &appendKey)
{
    DistinctValues distinct(records, field);
    const std::vector<std::string_view> &values = distinct.values;
    const SortKeys keys(values, appendKey);
    const Ranks rankOfValue =
        denseRanks(values.size(), [&keys](quint32 a, quint32 b) { return keys.compare(a, b); });
    for (quint32 &value : distinct.indexOf)
        value = rankOfValue.ofKey[value];
    return {std::move(distinct.indexOf), rankOfValue.count};
}

std::vector<qsizetype> SortRanks::order(std::span<const qsizetype> rowKeys, const Ranks &ranks,
                                        Qt::SortOrder order)
{
    return byRank(rowsInOrder(rowKeys.size()), rowKeys, ranks, order);
}
