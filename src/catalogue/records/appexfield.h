#pragma once

#include "appex.h"

#include <QCoreApplication>
#include <QLatin1StringView>

#include <algorithm>
#include <array>

// The text fields of a record, each with the label the window shows, the key
// the JSON output uses, and what it takes part in. Everything that lists a
// record's fields, or a subset of them, reads them from here.
struct AppexFieldInfo
{
    AppexField field;
    const char *label; // untranslated: see fieldLabel()
    QLatin1StringView jsonKey;
    int copyPlace; // in the copy text; -1 when not copied
    bool searched; // by a search of all fields
    bool compared; // a record whose value differs from its older self's changed
};

// In the JSON's and the window's order.
inline constexpr std::array<AppexFieldInfo, 11> appexFields = {{
    {AppexField::Name, QT_TRANSLATE_NOOP("AppexField", "Name"), QLatin1StringView("name"), 0, true,
     true},
    {AppexField::SDK, QT_TRANSLATE_NOOP("AppexField", "SDK"), QLatin1StringView("SDK"), 4, true,
     true},
    {AppexField::Identifier, QT_TRANSLATE_NOOP("AppexField", "Identifier"),
     QLatin1StringView("identifier"), -1, true, false},
    {AppexField::Version, QT_TRANSLATE_NOOP("AppexField", "Version"), QLatin1StringView("version"),
     -1, false, true},
    {AppexField::Election, QT_TRANSLATE_NOOP("AppexField", "Election"),
     QLatin1StringView("election"), -1, false, true},
    {AppexField::Point, QT_TRANSLATE_NOOP("AppexField", "Extension Point"),
     QLatin1StringView("point"), -1, false, false},
    {AppexField::Timestamp, QT_TRANSLATE_NOOP("AppexField", "Registered"),
     QLatin1StringView("timestamp"), -1, false, false},
    {AppexField::Path, QT_TRANSLATE_NOOP("AppexField", "Path"), QLatin1StringView("path"), 1, true,
     false},
    {AppexField::ParentName, QT_TRANSLATE_NOOP("AppexField", "Parent Name"),
     QLatin1StringView("parentName"), 2, true, true},
    {AppexField::ParentPath, QT_TRANSLATE_NOOP("AppexField", "Parent Path"),
     QLatin1StringView("parentPath"), 3, true, true},
    {AppexField::Uuid, QT_TRANSLATE_NOOP("AppexField", "UUID"), QLatin1StringView("uuid"), 5, true,
     false},
}};

[[nodiscard]] inline QString fieldLabel(const AppexFieldInfo &info)
{
    return QCoreApplication::translate("AppexField", info.label);
}

namespace AppexFields {

// The fields of the table for which `wanted` holds, in its order.
template<typename Wanted> consteval auto where(Wanted wanted)
{
    constexpr auto count = [](Wanted test) {
        return size_t(std::count_if(appexFields.begin(), appexFields.end(), test));
    };
    std::array<AppexField, count(Wanted{})> fields{};
    size_t at = 0;
    for (const AppexFieldInfo &info : appexFields) {
        if (wanted(info))
            fields[at++] = info.field;
    }
    return fields;
}

} // namespace AppexFields

// The fields of the copy text, in its order: name, path, parent name, parent
// path, SDK, UUID.
inline constexpr auto copyFields = [] {
    std::array<AppexField, AppexFields::where([](const AppexFieldInfo &info) {
                               return info.copyPlace >= 0;
                           }).size()>
        fields{};
    for (const AppexFieldInfo &info : appexFields) {
        if (info.copyPlace >= 0)
            fields[size_t(info.copyPlace)] = info.field;
    }
    return fields;
}();

inline constexpr auto searchedFields =
    AppexFields::where([](const AppexFieldInfo &info) { return info.searched; });
inline constexpr auto comparedFields =
    AppexFields::where([](const AppexFieldInfo &info) { return info.compared; });
// Every field a record holds as text: all but the election, which its tag gives.
inline constexpr auto textFields = AppexFields::where(
    [](const AppexFieldInfo &info) { return info.field != AppexField::Election; });
