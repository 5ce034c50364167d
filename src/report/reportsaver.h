#pragma once

#include "reportcomposer.h"
#include "savepanel.h"

#include <QDateTime>

class Appexer;
class ErrorAlert;

// Saving the catalogue as an RTF report, chosen in a save panel.
namespace ReportSaver {

// "Zephlist", the date stamp of `catalogueDate`, ".text".
[[nodiscard]] QString proposedName(const QDateTime &catalogueDate);

// Composes the report of the whole catalogue now and opens a save panel;
// writes the file when the panel is confirmed. Does nothing for an empty
// catalogue. A failed write shows `alert`.
void saveAsRTF(const Appexer &appexer, SavePanel &panel, ErrorAlert &alert);

// The panel's completion: writes `report` as RTF to `location` with
// OutputFile, so a failure leaves any earlier file as it was, and shows
// `alert` with the reason. A location that is not a regular file is refused.
void writeReport(SavePanel::Response response, const QString &location, const ReportText &report,
                 ErrorAlert &alert);

// The same for a listing, written exactly as it was read.
void writeListing(SavePanel::Response response, const QString &location, const QByteArray &listing,
                  ErrorAlert &alert);

// Writes `bytes` to `location`; a failure shows `alert`, naming `what` was saved.
void writeFile(const QString &location, QByteArrayView bytes, const QString &what,
               ErrorAlert &alert);

} // namespace ReportSaver
