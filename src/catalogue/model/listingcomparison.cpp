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

// A copy's UUID with its identifier and path, hashed by the UUID alone: it
// tells the copies apart.
struct CopyKey
{
    QByteArrayView uuid;
    PairKey pairKey;

    friend bool operator==(const CopyKey &, const CopyKey &) = default;
    friend size_t qHash(const CopyKey &key, size_t seed) { return qHash(key.uuid, seed); }
};

CopyKey copyKeyOf(const Appex &record)
{
    return {record.bytes(AppexField::Uuid), pairKeyOf(record)};
}

// Pairs each record of `newer` not yet paired with the first record of
// `older` not yet paired that has the same key (`keyOf`), in the listings'
// own orders. `partners` holds each newer record's older partner or -1,
// `paired` whether each older record has one.
template<typename KeyOf>
void pairInOrder(const ListingRecords &older, const ListingRecords &newer, KeyOf keyOf,
                 std::vector<qsizetype> &partners, std::vector<bool> &paired)
{
    // The older records not yet paired, in listing order: the first of each
    // key, and after each the next of the same key.
    QHash<decltype(keyOf(Appex())), qsizetype> firstUnpaired; // -1 once all are paired
    firstUnpaired.reserve(std::count(paired.begin(), paired.end(), false));
    std::vector<qsizetype> nextOfKey(size_t(older.count), -1);
    for (qsizetype i = older.count - 1; i >= 0; --i) {
        if (paired[size_t(i)])
            continue;
        const auto key = keyOf(older.at(i));
        if (const auto first = firstUnpaired.find(key); first != firstUnpaired.end()) {
            nextOfKey[size_t(i)] = *first;
            *first = i;
        } else {
            firstUnpaired.insert(key, i);
        }
    }
    for (qsizetype i = 0; i < newer.count; ++i) {
        if (partners[size_t(i)] >= 0)
            continue;
        const auto first = firstUnpaired.find(keyOf(newer.at(i)));
        if (first == firstUnpaired.end() || *first < 0)
            continue;
        partners[size_t(i)] = *first;
        paired[size_t(*first)] = true;
        *first = nextOfKey[size_t(*first)];
    }
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
    // A copy keeps its UUID from one listing to the next: the copies of an
    // extension at one path pair by it first, so that a copy gone or come
    // moves no other copy's pair. Those left, registered anew, pair in order.
    std::vector<qsizetype> partners(size_t(newer.count), -1);
    std::vector<bool> paired(size_t(older.count), false);
    pairInOrder(older, newer, &copyKeyOf, partners, paired);
    pairInOrder(older, newer, &pairKeyOf, partners, paired);

    QList<ComparedAppex> changes;
    for (qsizetype i = 0; i < newer.count; ++i) {
        const Appex &record = newer.at(i);
        const qsizetype partner = partners[size_t(i)];
        if (partner < 0)
            changes.append({AppexChange::Added, record, i});
        else if (differ(older.at(partner), record))
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
