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

// Whether `path` lies where development builds and stray copies do: an
// Xcode build folder, a build folder, the Trash or a mounted volume.
[[nodiscard]] bool isDevelopmentPath(QByteArrayView path);

} // namespace CopyAnnotation
