#pragma once

#include "appex.h"

#include <QCoreApplication>
#include <QLatin1StringView>

#include <array>

// The text fields of a record, each with the label the window shows and the
// key the JSON output uses. Everything that lists a record's fields reads
// them from here.
struct AppexFieldInfo
{
    AppexField field;
    const char *label; // untranslated: see fieldLabel()
    QLatin1StringView jsonKey;
};

inline constexpr std::array<AppexFieldInfo, 11> appexFields = {{
    {AppexField::Name, QT_TRANSLATE_NOOP("AppexField", "Name"), QLatin1StringView("name")},
    {AppexField::SDK, QT_TRANSLATE_NOOP("AppexField", "SDK"), QLatin1StringView("SDK")},
    {AppexField::Identifier, QT_TRANSLATE_NOOP("AppexField", "Identifier"),
     QLatin1StringView("identifier")},
    {AppexField::Version, QT_TRANSLATE_NOOP("AppexField", "Version"), QLatin1StringView("version")},
    {AppexField::Election, QT_TRANSLATE_NOOP("AppexField", "Election"),
     QLatin1StringView("election")},
    {AppexField::Point, QT_TRANSLATE_NOOP("AppexField", "Extension Point"),
     QLatin1StringView("point")},
    {AppexField::Timestamp, QT_TRANSLATE_NOOP("AppexField", "Registered"),
     QLatin1StringView("timestamp")},
    {AppexField::Path, QT_TRANSLATE_NOOP("AppexField", "Path"), QLatin1StringView("path")},
    {AppexField::ParentName, QT_TRANSLATE_NOOP("AppexField", "Parent Name"),
     QLatin1StringView("parentName")},
    {AppexField::ParentPath, QT_TRANSLATE_NOOP("AppexField", "Parent Path"),
     QLatin1StringView("parentPath")},
    {AppexField::Uuid, QT_TRANSLATE_NOOP("AppexField", "UUID"), QLatin1StringView("uuid")},
}};

[[nodiscard]] inline QString fieldLabel(const AppexFieldInfo &info)
{
    return QCoreApplication::translate("AppexField", info.label);
}
