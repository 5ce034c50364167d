#pragma once

#include <QByteArrayView>
#include <QString>

// The extension points that the system settings group extensions by, each
// with a friendly name.
namespace ExtensionPoint {

// The name of `point` ("com.apple.FinderSync" is "Finder"); the point itself
// when it has none.
[[nodiscard]] QString category(QByteArrayView point);

// Whether `text`, ignoring case, is a point or a category name that
// `point` has: how --point picks records.
[[nodiscard]] bool matches(QByteArrayView point, QStringView text);

} // namespace ExtensionPoint
