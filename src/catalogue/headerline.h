#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The first line of a listing block, "+    com.apple.ui.TrackpadSettings(27.4)":
// an optional election tag, the extension's identifier and its version.
struct HeaderLine
{
    QStringView identifier; // stretches of the line parsed: valid while it is

    QStringView version;
    QString election; // an Election name; empty without a tag

    // The header that `line` holds, if it is one: a line without " = " whose
    // trimmed text contains "(" and ends with ")". The tag is a first
    // character of "+-!=?" followed by white space.
    [[nodiscard]] static std::optional<HeaderLine> parse(QStringView line);
};
