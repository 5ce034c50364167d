#include "listingcomparison.h"

#include "appexfield.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <deque>

namespace {

constexpr std::array comparedFields = {AppexField::SDK,        AppexField::Name,
                                       AppexField::ParentName, AppexField::ParentPath,
                                       AppexField::Version,    AppexField::Election};

bool differ(const Appex &a, const Appex &b)
{
    return std::any_of(comparedFields.begin(), comparedFields.end(),
                       [&](AppexField field) { return valueOf(a, field) != valueOf(b, field); });
}

using PairKey = std::pair<QString, QString>; // identifier, path

struct ChangeName
{
    QLatin1StringView symbol;
    QLatin1StringView word;
};

// In the order of AppexChange.
constexpr std::array<ChangeName, 4> changeNames = {{
    {QLatin1StringView(""), QLatin1StringView("")},
    {QLatin1StringView("+"), QLatin1StringView("added")},
    {QLatin1StringView("~"), QLatin1StringView("changed")},
    {QLatin1StringView("-"), QLatin1StringView("removed")},
}};

} // namespace

QList<ComparedAppex> compareListings(const AppexList &older, const AppexList &newer)
{
    // The older records of each key, in listing order, not yet paired.
    QHash<PairKey, std::deque<qsizetype>> unpaired;
    for (qsizetype i = 0; i < older.size(); ++i)
        unpaired[{older[i].identifier, older[i].path}].push_back(i);

    QList<ComparedAppex> changes;
    std::vector<bool> paired(size_t(older.size()), false);
    for (const Appex &record : newer) {
        const auto candidates = unpaired.find({record.identifier, record.path});
        if (candidates == unpaired.end() || candidates->empty()) {
            changes.append({AppexChange::Added, record});
            continue;
        }
        const qsizetype partner = candidates->front();
        candidates->pop_front();
        paired[size_t(partner)] = true;
        if (differ(older[partner], record))
            changes.append({AppexChange::Changed, record});
    }
    for (qsizetype i = 0; i < older.size(); ++i) {
        if (!paired[size_t(i)])
            changes.append({AppexChange::Removed, older[i]});
    }
    return changes;
}

QString changeSymbol(AppexChange change)
{
    return changeNames[size_t(change)].symbol;
}

QString changeWord(AppexChange change)
{
    return changeNames[size_t(change)].word;
}
