#include "copiesexplanation.h"

#include "cleanupplan.h"
#include "election.h"
#include "registration.h"
#include "shellwords.h"

#include <QCollator>

#include <algorithm>

namespace {

// The edits that turn one text into the other (Levenshtein).
int distance(QStringView a, QStringView b)
{
    std::vector<int> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min(
                {above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

CopiesExplanation::Use useOf(const Appex &record, qsizetype copies)
{
    if (record.active())
        return *record.active() ? CopiesExplanation::Use::InUse : CopiesExplanation::Use::NotUsed;
    // A listing of the copies in use holds one of each identifier.
    return copies == 1 ? CopiesExplanation::Use::InUse : CopiesExplanation::Use::Unknown;
}

} // namespace

std::optional<CopiesExplanation> CopiesExplanation::of(const AppexList &records,
                                                       const QString &identifier)
{
    CopiesExplanation explanation{identifier, {}, {}, AppexElection::None, {}};
    AppexList copies;
    for (const Appex &record : records) {
        if (record.identifier() == identifier)
            copies << record;
    }
    if (copies.isEmpty())
        return std::nullopt;
    for (const Appex &record : copies) {
        explanation.copies << Copy{record, useOf(record, copies.size()),
                                   CopyAnnotation::placeOf(record.bytes(AppexField::Path)), false};
    }
    std::stable_partition(explanation.copies.begin(), explanation.copies.end(),
                          [](const Copy &copy) { return copy.use == Use::InUse; });
    const Copy &first = explanation.copies.first();
    explanation.name = first.record.name();
    explanation.category = first.record.category();
    explanation.election = first.record.election();
    if (first.use == Use::InUse) {
        QCollator versions;
        versions.setNumericMode(true);
        for (Copy &copy : explanation.copies)
            copy.olderVersion = versions.compare(copy.record.version(), first.record.version()) < 0;
    }
    return explanation;
}

QStringList CopiesExplanation::closestIdentifiers(const AppexList &records,
                                                  const QString &identifier, int most)
{
    const QString wanted = identifier.toCaseFolded();
    std::vector<std::pair<int, QString>> scored;
    QSet<QString> seen;
    for (const Appex &record : records) {
        const QString candidate = record.identifier();
        if (candidate.isEmpty() || seen.contains(candidate))
            continue;
        seen.insert(candidate);
        const QString folded = candidate.toCaseFolded();
        // A part of the identifier, or its name, counts as close.
        const int score = folded.contains(wanted) || record.name().toCaseFolded() == wanted
                              ? 0
                              : distance(wanted, folded);
        if (score <= std::max<qsizetype>(2, wanted.size() / 4))
            scored.emplace_back(score, candidate);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList closest;
    for (const auto &[score, candidate] : scored) {
        if (closest.size() == most)
            break;
        closest << candidate;
    }
    return closest;
}

QStringList CopiesExplanation::useCommands() const
{
    QStringList commands;
    for (const Copy &copy : copies) {
        if (copy.use != Use::InUse && !copy.record.uuid().isEmpty())
            commands << ShellWords::toolCommand(
                Election{copy.record.uuid(), Election::Choice::Use, Election::Target::Copy}
                    .toolArguments());
    }
    return commands;
}

QStringList CopiesExplanation::removeCommands() const
{
    QStringList commands;
    for (const Copy &copy : copies) {
        if (CleanupPlan::staleReason(copy.record))
            commands << ShellWords::toolCommand(
                Registration{Registration::Action::Unregister, copy.record.path()}.toolArguments());
    }
    return commands;
}
