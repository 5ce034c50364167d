#pragma once

#include "appex.h"
#include "listingcomparison.h"
#include "sortcode.h"

#include <array>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

// What the records of one catalogue sort by: for each field, the rank of each
// record's value among all the values, made when a sort first needs it. A
// catalogue sorted again and again then compares numbers, not texts.
//
// Records are named by keys of the caller's, 0 to the count less one, that
// no sort changes.
class SortRanks
{
public:
    // The order of rows for `sortCode`, as SortOrder::order gives it:
    // `records` are the records by key, `rowKeys` the key of each row in the
    // rows' order now.
    [[nodiscard]] std::vector<qsizetype>
    order(const ListingRecords &records, std::span<const qsizetype> rowKeys, SortCode sortCode);

    // Each record's rank, by key, and how many ranks there are.
    struct Ranks
    {
        std::vector<quint32> ofKey;
        quint32 count = 0;
    };

    // Appends the sort key of a field's value to `key`; keys compare byte by byte.
    using AppendKey = std::function<void(std::string &key, QByteArrayView value)>;
    // Each record's rank by the key of its value of `field`: for an order of
    // the caller's, by what it makes of the field.
    [[nodiscard]] static Ranks ranks(const ListingRecords &records, AppexField field,
                                     const AppendKey &appendKey);
    // The order of rows by `ranks`, either way, stably.
    [[nodiscard]] static std::vector<qsizetype> order(std::span<const qsizetype> rowKeys,
                                                      const Ranks &ranks, Qt::SortOrder order);

    // The field each sort code orders by first, by code, and of those, the
    // ones whose ranks are not made yet.
    static constexpr std::array<AppexField, 4> sortedFields = {
        AppexField::SDK, AppexField::ParentName, AppexField::Uuid, AppexField::Name};
    [[nodiscard]] std::vector<AppexField> fieldsWithoutRanks() const;
    // Each record's rank by the sort key of its value of `field`, as the sort
    // codes order them: what order() makes when it first needs a field, made
    // here for a caller that makes it elsewhere (on another thread) and
    // hands it over with adopt(). Ranks already made are kept.
    [[nodiscard]] static Ranks textRanks(const ListingRecords &records, AppexField field);
    void adopt(AppexField field, Ranks ranks) { m_ranks.try_emplace(field, std::move(ranks)); }

    // Forgets every rank: the records are others.
    void clear() { m_ranks.clear(); }

private:
    [[nodiscard]] const Ranks &knownRanks(const ListingRecords &records, AppexField field);

    std::map<AppexField, Ranks> m_ranks; // of the fields' sort keys
};
