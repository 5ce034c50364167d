#pragma once

#include "reportcomposer.h"

#include <QByteArray>

// Encodes a report as an RTF 1.x document that word processors open with every
// character and colour intact. Text is escaped so that no field value can
// become RTF markup; characters outside printable ASCII are written as \uN.
namespace RtfEncoder {

// The RTF document. Standard text takes the reader's automatic colour, so it
// follows a light or dark appearance; blue, green and red are #007AFF,
// #28CD41 and #FF3B30. Any text can be encoded: there is no failure.
[[nodiscard]] QByteArray encode(const ReportText &report);

} // namespace RtfEncoder
