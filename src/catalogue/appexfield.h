#pragma once

#include "appex.h"

#include <QLatin1StringView>

#include <array>

// The text fields of a record, each with the label the window shows and the
// key the JSON output uses. Everything that lists a record's fields reads
// them from here.
enum class AppexField {
    SDK,
    Name,
    Path,
    ParentName,
    ParentPath,
    Uuid,
    Identifier,
    Version,
    Election
};

struct AppexFieldInfo
{
    AppexField field;
    QString Appex::*value;
    QLatin1StringView label;
    QLatin1StringView jsonKey;
};

inline constexpr std::array<AppexFieldInfo, 9> appexFields = {{
    {AppexField::Name, &Appex::name, QLatin1StringView("Name"), QLatin1StringView("name")},
    {AppexField::SDK, &Appex::SDK, QLatin1StringView("SDK"), QLatin1StringView("SDK")},
    {AppexField::Identifier, &Appex::identifier, QLatin1StringView("Identifier"),
     QLatin1StringView("identifier")},
    {AppexField::Version, &Appex::version, QLatin1StringView("Version"),
     QLatin1StringView("version")},
    {AppexField::Election, &Appex::election, QLatin1StringView("Election"),
     QLatin1StringView("election")},
    {AppexField::Path, &Appex::path, QLatin1StringView("Path"), QLatin1StringView("path")},
    {AppexField::ParentName, &Appex::parentName, QLatin1StringView("Parent Name"),
     QLatin1StringView("parentName")},
    {AppexField::ParentPath, &Appex::parentPath, QLatin1StringView("Parent Path"),
     QLatin1StringView("parentPath")},
    {AppexField::Uuid, &Appex::uuid, QLatin1StringView("UUID"), QLatin1StringView("uuid")},
}};

[[nodiscard]] constexpr const AppexFieldInfo &infoOf(AppexField field)
{
    for (const AppexFieldInfo &info : appexFields) {
        if (info.field == field)
            return info;
    }
    Q_UNREACHABLE();
}

[[nodiscard]] inline const QString &valueOf(const Appex &record, AppexField field)
{
    return record.*(infoOf(field).value);
}
