#pragma once

#include "appex.h"

#include <QStringList>

// What the window tells of a record beyond its text fields, in one place.
namespace RecordFacts {

// How much of a value the rows, the table and their tips show: measured and
// drawn whole, a value of megabytes would hold the window up at every turn.
// The record, the details and the outputs keep it whole.
inline constexpr qsizetype shownLength = 1000;
// `text`, or its first shownLength characters and an ellipsis.
[[nodiscard]] QString shownText(QString text);
// The record's `field` as shownText() gives it, read without making a string
// of what is not shown.
[[nodiscard]] QString shownText(const Appex &record, AppexField field);

// The SDK as the window shows it: a point outside Apple's keeps the tool's
// whole line ("SDK = ExampleKit") in the field, as the outputs do, and shows
// as the point alone.
[[nodiscard]] QString shownSDK(const Appex &record);

// The record's problems, a sentence each.
[[nodiscard]] QStringList problems(const Appex &record);

// The records of `record`'s identifier among `records`, in their order.
[[nodiscard]] AppexList copiesOf(const AppexList &records, const Appex &record);

// The mark a row shows: the state's, but none for a record in use, however
// many copies of it the system does not use.
[[nodiscard]] QString rowMark(const Appex &record);
// What a row's tip tells: its state, its problems, and the legend.
[[nodiscard]] QString rowTip(const Appex &record);
// The mark of the record's state in the table, and its word in the legend.
[[nodiscard]] QString stateMark(const Appex &record);
[[nodiscard]] QString stateName(const Appex &record);
// Orders records by the state the table shows: in use, ignored, the tool's own
// marks, problems, then the copies not used.
[[nodiscard]] int stateRank(const Appex &record);
// Each state's mark and word, a line each.
[[nodiscard]] QString stateLegend();

} // namespace RecordFacts
