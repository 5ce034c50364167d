#include "listingcomparison.h"

#include "appexfield.h"
#include "sortorder.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace {

bool differ(const Appex &a, const Appex &b)
{
    return std::any_of(comparedFields.begin(), comparedFields.end(),
                       [&](AppexField field) { return a.bytes(field) != b.bytes(field); });
}

// Identifier and path, stretches of the records' own texts.
using PairKey = std::pair<QByteArrayView, QByteArrayView>;

PairKey pairKeyOf(const Appex &record)
{
    return {record.bytes(AppexField::Identifier), record.bytes(AppexField::Path)};
}

struct ChangeName
{
    QByteArrayView symbol;
    QByteArrayView word;
};

// In the order of AppexChange.
constexpr std::array<ChangeName, 4> changeNames = {{
    {"", ""},
    {"+", "added"},
    {"~", "changed"},
    {"-", "removed"},
}};

} // namespace

QList<ComparedAppex> compareListings(const ListingRecords &older, const ListingRecords &newer)
{
    // The older records not yet paired, in listing order: the first of each
    // key, and after each the next of the same key.
    QHash<PairKey, qsizetype> firstUnpaired; // -1 once all of a key are paired
    std::vector<qsizetype> nextOfKey(size_t(older.count), -1);
    for (qsizetype i = older.count - 1; i >= 0; --i) {
        const PairKey key = pairKeyOf(older.at(i));
        if (const auto first = firstUnpaired.find(key); first != firstUnpaired.end()) {
            nextOfKey[size_t(i)] = *first;
            *first = i;
        } else {
            firstUnpaired.insert(key, i);
        }
    }

    QList<ComparedAppex> changes;
    std::vector<bool> paired(size_t(older.count), false);
    for (qsizetype i = 0; i < newer.count; ++i) {
        const Appex &record = newer.at(i);
        const auto first = firstUnpaired.find(pairKeyOf(record));
        if (first == firstUnpaired.end() || *first < 0) {
            changes.append({AppexChange::Added, record, i});
            continue;
        }
        const qsizetype partner = *first;
        *first = nextOfKey[size_t(partner)];

        paired[size_t(partner)] = true;
        if (differ(older.at(partner), record))
            changes.append({AppexChange::Changed, record, i, older.at(partner)});
    }
    for (qsizetype i = 0; i < older.count; ++i) {
        if (!paired[size_t(i)])
            changes.append({AppexChange::Removed, older.at(i), i});
    }
    return changes;
}

void sortChanges(QList<ComparedAppex> &changes, SortCode sortCode)
{
    const auto removed =
        std::find_if(changes.begin(), changes.end(), [](const ComparedAppex &compared) {
            return compared.change == AppexChange::Removed;
        });
    for (const auto &[begin, end] :
         {std::pair(changes.begin(), removed), std::pair(removed, changes.end())}) {
        AppexList records;
        std::transform(begin, end, std::back_inserter(records),
                       [](const ComparedAppex &compared) { return compared.record; });
        const std::vector<qsizetype> order = SortOrder::order(records, sortCode);
        const QList<ComparedAppex> part(begin, end);
        for (size_t i = 0; i < order.size(); ++i)
            *(begin + qsizetype(i)) = part[order[i]];
    }
}

QList<AppexField> changedFields(const Appex &older, const Appex &newer)
{
    QList<AppexField> fields;
    for (const AppexFieldInfo &info : appexFields) {
        if (std::find(comparedFields.begin(), comparedFields.end(), info.field) !=
                comparedFields.end() &&
            older.bytes(info.field) != newer.bytes(info.field))
            fields << info.field;
    }
    return fields;
}

QByteArrayView changeSymbol(AppexChange change)
{
    return changeNames[size_t(change)].symbol;
}

QByteArrayView changeWord(AppexChange change)
{
    return changeNames[size_t(change)].word;
}
