#pragma once

#include <QString>

// The platform's file manager, showing where a file lies.
namespace FileManager {

// Shows the folder that holds `path`, the file selected where the platform
// can; why it could not, or an empty string.
[[nodiscard]] QString showFolderOf(const QString &path);

} // namespace FileManager
