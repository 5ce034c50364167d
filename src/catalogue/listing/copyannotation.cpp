#include "copyannotation.h"

#include "appexelection.h"
#include "prefetch.h"

#include <cstring>

#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::array identifierAndPath = {AppexField::Identifier, AppexField::Path};

std::string_view viewOf(QByteArrayView bytes)
{
    return {bytes.data(), size_t(bytes.size())};
}

} // namespace

namespace CopyAnnotation {

Place placeOf(QByteArrayView path)
{
    if (path.isEmpty())
        return Place::Installed; // memchr must not see the null data of an empty view
    if (path.startsWith("/Volumes/"))
        return Place::DiskImage;
    // One pass from slash to slash: four substring searches over every path
    // cost more than the rest of annotating a listing.
    const char *const end = path.data() + path.size();
    for (const char *slash = path.data();
         (slash = static_cast<const char *>(std::memchr(slash, '/', size_t(end - slash))));) {
        ++slash;
        const QByteArrayView rest(slash, end - slash);
        if (rest.isEmpty())
            break;
        const QByteArrayView folder = rest.front() == 'D'   ? "DerivedData/"
                                      : rest.front() == 'b' ? "build/"
                                      : rest.front() == '.' ? ".Trash/"
                                                            : "";
        if (!folder.isEmpty() && rest.startsWith(folder))
            return folder.front() == '.' ? Place::Trash : Place::BuildFolder;
    }
    return Place::Installed;
}

void annotate(AppexList &records, const std::optional<QSet<QByteArray>> &activeUuids)
{
    // Per identifier: its records, and whether they lie at more than one path.
    struct Copies
    {
        int count = 0;
        std::string_view firstPath;
        bool morePaths = false;
    };
    std::unordered_map<std::string_view, Copies> byIdentifier;
    std::vector<const Copies *> copiesOf(size_t(records.size())); // to hash each identifier once
    for (qsizetype i = 0; i < records.size(); ++i) {
        Prefetch::ahead(records, i, identifierAndPath);
        const Appex &record = records[i];
        Copies &copies = byIdentifier[viewOf(record.bytes(AppexField::Identifier))];
        const std::string_view path = viewOf(record.bytes(AppexField::Path));
        if (copies.count++ == 0)
            copies.firstPath = path;
        else
            copies.morePaths = copies.morePaths || path != copies.firstPath;
        copiesOf[size_t(i)] = &copies;
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        Appex &record = records[i];
        const Copies &copies = *copiesOf[size_t(i)];
        // Blocks without a header have no identifier: no copies of each other.
        const bool identified = !record.bytes(AppexField::Identifier).isEmpty();
        record.setCopies(identified ? copies.count : 1);
        // Whether the entry is cut off, the parser alone can tell.
        AppexProblems problems = electionInfo(record.election()).problems |
                                 (record.problems() & AppexProblem::Incomplete);
        // Where the listing tells which copy is in use, that one is no
        // duplicate: its stale siblings are.
        const std::optional<bool> active =
            activeUuids
                ? std::optional(activeUuids->contains(record.bytes(AppexField::Uuid).toByteArray()))
                : std::nullopt;
        record.setActive(active);
        if (identified && copies.morePaths && active != true)
            problems |= AppexProblem::Duplicate;
        if (isDevelopmentPath(record.bytes(AppexField::Path)))
            problems |= AppexProblem::Development;
        if (active == false)
            problems |= AppexProblem::Inactive;
        record.setProblems(problems);
    }
}

} // namespace CopyAnnotation
