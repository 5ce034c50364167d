#pragma once

#include "appex.h"

#include <QByteArray>

// The forms in which zephlist-cli prints records.
namespace RecordFormat {

// Each record's tab-separated copy text on a line of its own.
[[nodiscard]] QByteArray tsv(const AppexList &records);
// One JSON array of objects with the record's six text fields.
[[nodiscard]] QByteArray json(const AppexList &records);

} // namespace RecordFormat
