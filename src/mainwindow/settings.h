#pragma once

#include <QtGlobal>

// The three display settings that outlive a window, in the app's preferences
// (QSettings, organisation and application "Zephlist"). An absent key, or a
// value of another type, reads as false or 0. Each change is written at once.
namespace DisplaySettings {

struct Values
{
    bool showPaths = false;
    bool showUUID = false;
    qint64 sortCode = 0;
};

[[nodiscard]] Values read();

void storeShowPaths(bool showPaths);
void storeShowUUID(bool showUUID);
void storeSortCode(qint64 sortCode);

} // namespace DisplaySettings
