#include "sortorder.h"

#include "sortranks.h"

#include <numeric>

namespace SortOrder {

std::vector<qsizetype> order(const AppexList &records, SortCode sortCode)
{
    std::vector<qsizetype> rows(size_t(records.size()));
    std::iota(rows.begin(), rows.end(), 0);
    return SortRanks().order(records, rows, sortCode);
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
            __builtin_prefetch(&records[order[size_t(order[at])]]); // the next one moved
            records[qsizetype(at)] = std::move(records[order[at]]);
            placed[at] = true;
            at = size_t(order[at]);
        }
        records[qsizetype(at)] = std::move(first);
        placed[at] = true;
    }
}

} // namespace SortOrder
