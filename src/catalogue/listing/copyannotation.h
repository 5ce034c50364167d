#pragma once

#include "appex.h"

#include <QByteArray>
#include <QSet>

#include <optional>

// What the records of one listing tell of each other: how many copies each
// identifier has, which copy the system uses, and the problems a record has
// that the listing alone reveals (all but `missing`, which needs the disk).
namespace CopyAnnotation {

// Annotates `records`. `activeUuids`, when the listing holds every copy, are
// the UUIDs of the copies in use; without them, whether a copy is active
// stays unknown.
void annotate(AppexList &records, const std::optional<QSet<QByteArray>> &activeUuids);

// Where a copy lies, as far as its path tells.
enum class Place { Installed, BuildFolder, Trash, DiskImage };
// An Xcode DerivedData or `build` folder, the Trash, a mounted volume.
[[nodiscard]] Place placeOf(QByteArrayView path);

// Whether `path` lies where development builds and stray copies do.
[[nodiscard]] inline bool isDevelopmentPath(QByteArrayView path)
{
    return placeOf(path) != Place::Installed;
}

} // namespace CopyAnnotation
