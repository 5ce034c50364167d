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
    switch (change) {
    case AppexChange::Added:
        return QStringLiteral("+");
    case AppexChange::Removed:
        return QStringLiteral("-");
    case AppexChange::Changed:
        return QStringLiteral("~");
    case AppexChange::Unchanged:
        break;
    }
    return {};
}

QString changeWord(AppexChange change)
{
    switch (change) {
    case AppexChange::Added:
        return QStringLiteral("added");
    case AppexChange::Removed:
        return QStringLiteral("removed");
    case AppexChange::Changed:
        return QStringLiteral("changed");
    case AppexChange::Unchanged:
        break;
    }
    return {};
}
