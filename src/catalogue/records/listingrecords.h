#pragma once

#include "appex.h"

#include <functional>

// The records of one listing in the listing's own order: `count` of them,
// the i-th by `at`. A list of records converts to it; it must outlive it.
struct ListingRecords
{
    ListingRecords(const AppexList &records) // NOLINT: converts on purpose
        : count(records.size())
        , at([&records](qsizetype i) -> const Appex & { return records[i]; })
    {}
    ListingRecords(qsizetype recordCount, std::function<const Appex &(qsizetype i)> recordAt)
        : count(recordCount)
        , at(std::move(recordAt))
    {}

    qsizetype count;
    std::function<const Appex &(qsizetype i)> at;
};
