#pragma once

#include "appex.h"
#include "listingcomparison.h"

#include <QByteArray>

// The forms in which records leave the app for scripts: TSV, each record's
// copy text on a line of its own, and JSON, an array of objects with every
// field of the record. Compared records carry their change too: a first TSV
// column "+", "-" or "~", and a JSON key "change".
namespace RecordFormat {

[[nodiscard]] QByteArray tsv(const AppexList &records);
[[nodiscard]] QByteArray tsv(const QList<ComparedAppex> &records);
[[nodiscard]] QByteArray json(const AppexList &records);
[[nodiscard]] QByteArray json(const QList<ComparedAppex> &records);

} // namespace RecordFormat
