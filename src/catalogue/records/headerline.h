#pragma once

#include "appex.h"

#include <QByteArrayView>

#include <optional>

// The first line of a listing block, "+    com.apple.ui.TrackpadSettings(27.4)":
// an optional election tag, the extension's identifier and its version.
struct HeaderLine
{
    QByteArrayView identifier; // stretches of the line parsed: valid while it is
    QByteArrayView version;
    AppexElection election = AppexElection::None;

    // The header that `line`, UTF-8, holds, if it is one: a line without
    // " = " whose trimmed text contains "(" and ends with ")", and that names
    // an identifier. The tag is a first character of "+-!=?" followed by
    // white space, or two characters other than white space followed by it,
    // as "H.", which the tool prints undocumented: read as unknown. A version
    // printed "((null))" is none.
    [[nodiscard]] static std::optional<HeaderLine> parse(QByteArrayView line);
};
