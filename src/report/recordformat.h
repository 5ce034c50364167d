#pragma once

#include "appex.h"
#include "listingcomparison.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// The forms in which records leave the app for scripts: TSV, each record's
// copy text on a line of its own, its values' control characters and
// backslashes escaped, and JSON, an array of objects with every field of the
// record. Compared records carry their change too: a first TSV column "+",
// "-" or "~", and a JSON key "change".
namespace RecordFormat {

// Takes the output a piece at a time; false stops the writing.
using WritePiece = std::function<bool(QByteArrayView piece)>;

// The TSV, in pieces of about a MiB: a large catalogue's never waits whole in
// memory. False when `write` stopped it.
[[nodiscard]] bool writeTsv(const AppexList &records, const WritePiece &write);
[[nodiscard]] bool writeTsv(const QList<ComparedAppex> &records, const WritePiece &write);
// The JSON, an array of objects with sorted keys as QJsonDocument writes
// them, in pieces as the TSV.
[[nodiscard]] bool writeJson(const AppexList &records, const WritePiece &write);
[[nodiscard]] bool writeJson(const QList<ComparedAppex> &records, const WritePiece &write);
// The JSON of `records`, whole.
[[nodiscard]] QByteArray json(const AppexList &records);
[[nodiscard]] QByteArray json(const QList<ComparedAppex> &records);

} // namespace RecordFormat
