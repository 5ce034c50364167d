#include "sortorder.h"

#include "textkey.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace SortOrder {

QList<Key> passesFor(qint64 sortCode)
{
    switch (sortCode) {
    case SortCode::Name:
        return {Key::Name};
    case SortCode::UUID:
        return {Key::Uuid};
    case SortCode::Parent:
        return {Key::Name, Key::ParentName};
    default:
        return {Key::Name, Key::SDK};
    }
}

namespace {

std::string keyOf(const Appex &record, Key key)
{
    switch (key) {
    case Key::SDK:
        return TextKey::caseInsensitive(record.SDK);
    case Key::ParentName:
        return TextKey::caseInsensitive(record.parentName);
    case Key::Uuid:
        return TextKey::caseSensitive(record.uuid);
    case Key::Name:
        return TextKey::caseInsensitive(record.name);
    }
    Q_UNREACHABLE();
}

} // namespace

void sortBy(AppexList &records, Key key)
{
    // Keys are made once per record, not once per comparison.
    std::vector<std::string> keys;
    keys.reserve(size_t(records.size()));
    for (const Appex &record : records)
        keys.push_back(keyOf(record, key));

    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[size_t(a)] < keys[size_t(b)];
    });

    AppexList sorted;
    sorted.reserve(records.size());
    for (const qsizetype index : order)
        sorted.append(std::move(records[index]));
    records = std::move(sorted);
}

} // namespace SortOrder
