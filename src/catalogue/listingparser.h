#pragma once

#include "appex.h"

#include <QStringView>

// Turns the text that `pluginkit -m -vv` prints into records, one per block of
// lines that carries a "UUID = " line. Blocks are separated by blank lines.
// Never fails: text off the format yields fewer records or odd field values.
[[nodiscard]] AppexList parseListing(QStringView text);
