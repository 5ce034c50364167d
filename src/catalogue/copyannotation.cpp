#include "copyannotation.h"

#include <QHash>

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

std::string_view viewOf(QByteArrayView bytes)
{
    return {bytes.data(), size_t(bytes.size())};
}

AppexProblems electionProblems(AppexElection election)
{
    switch (election) {
    case AppexElection::Superseded:
        return AppexProblem::Superseded;
    case AppexElection::Debug:
        return AppexProblem::Debug;
    case AppexElection::Unknown:
        return AppexProblem::Unknown;
    default:
        return {};
    }
}

} // namespace

namespace CopyAnnotation {

bool isDevelopmentPath(QByteArrayView path)
{
    return path.contains("/DerivedData/") || path.contains("/build/") ||
           path.contains("/.Trash/") || path.startsWith("/Volumes/");
}

void annotate(AppexList &records, const std::optional<QSet<QByteArray>> &activeUuids)
{
    // Per identifier: its records and the distinct paths they lie at.
    struct Copies
    {
        int count = 0;
        std::unordered_set<std::string_view> paths;
    };
    std::unordered_map<std::string_view, Copies> byIdentifier;
    for (const Appex &record : records) {
        Copies &copies = byIdentifier[viewOf(record.bytes(AppexField::Identifier))];
        ++copies.count;
        copies.paths.insert(viewOf(record.bytes(AppexField::Path)));
    }
    for (Appex &record : records) {
        const Copies &copies = byIdentifier[viewOf(record.bytes(AppexField::Identifier))];
        // Blocks without a header have no identifier: no copies of each other.
        const bool identified = !record.bytes(AppexField::Identifier).isEmpty();
        record.setCopies(identified ? copies.count : 1);
        AppexProblems problems = electionProblems(record.election());
        if (identified && copies.paths.size() > 1)
            problems |= AppexProblem::Duplicate;
        if (isDevelopmentPath(record.bytes(AppexField::Path)))
            problems |= AppexProblem::Development;
        if (activeUuids) {
            const bool active = activeUuids->contains(record.bytes(AppexField::Uuid).toByteArray());
            record.setActive(active);
            if (!active)
                problems |= AppexProblem::Inactive;
        } else {
            record.setActive(std::nullopt);
        }
        record.setProblems(problems);
    }
}

} // namespace CopyAnnotation
