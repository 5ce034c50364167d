#pragma once

#include <QtGlobal>

// The four orders of the catalogue.
enum class SortCode : quint8 { SDK = 0, Parent = 1, UUID = 2, Name = 3 };

// The order of a code as the preferences and the command line give it, a
// number: any other than the four above sorts as `SortCode::SDK`.
[[nodiscard]] constexpr SortCode sortCodeFrom(qint64 number)
{
    return number >= 0 && number <= 3 ? SortCode(number) : SortCode::SDK;
}
