#pragma once

#include "sortranks.h"

#include <map>
#include <memory>

class Appexer;

// Each record's rank in the order of a column of the table, by what the
// column shows: versions as versions (1.2 before 1.10), registrations by
// time, categories by name, states as the legend lists them, changes as
// added, changed, removed after the unchanged ones, and texts as the
// catalogue's sorts compare them. Made for a column when it is first asked
// for, and kept until the records change.
class ColumnRanks
{
public:
    // The ranks of `column` (an AppexColumns::Column) for the records of
    // `catalogue`, by record key.
    [[nodiscard]] std::shared_ptr<const SortRanks::Ranks> of(int column, const Appexer &catalogue);
    void clear() { m_ranks.clear(); }

private:
    std::map<int, std::shared_ptr<const SortRanks::Ranks>> m_ranks; // by column
};
