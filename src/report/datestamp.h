#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The stamp "yyyy_MM_dd_HH-mm" of the window title and the report's proposed
// file name, in the user's locale (its digits) and time zone.
[[nodiscard]] QString dateStamp(const QDateTime &moment, const QLocale &locale = QLocale::system());
