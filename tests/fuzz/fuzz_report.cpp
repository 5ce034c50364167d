// Any records give a report whose RTF is 7-bit ASCII and reads back, groups
// balanced, as exactly the report's text with each character's colour.

#include "fuzzcheck.h"
#include "reportcomposer.h"
#include "rtfencoder.h"
#include "rtfreader.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// The input's text split at '|', six fields to a record, in this order.
AppexList recordsOf(QStringView text)
{
    static constexpr std::array fieldOrder = {AppexField::SDK,        AppexField::Name,
                                              AppexField::Path,       AppexField::ParentPath,
                                              AppexField::ParentName, AppexField::Uuid};
    const QList<QStringView> fields = text.split(u'|');
    AppexList records;
    for (qsizetype at = 0; at < fields.size(); at += qsizetype(fieldOrder.size())) {
        Appex record;
        for (size_t i = 0; i < fieldOrder.size() && at + qsizetype(i) < fields.size(); ++i)
            record.setText(fieldOrder[i], fields[at + qsizetype(i)]);
        records.append(record);
    }
    return records;
}

// The colours the encoder documents for each role.
qint32 rgbOf(ReportColour colour)
{
    switch (colour) {
    case ReportColour::Blue:
        return 0x007AFF;
    case ReportColour::Green:
        return 0x28CD41;
    case ReportColour::Red:
        return 0xFF3B30;
    case ReportColour::Text:
        break;
    }
    return RtfReader::automaticColour;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ReportText report = composeReport(
        recordsOf(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size))));
    const QByteArray rtf = RtfEncoder::encode(report);
    require(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }),
            "the RTF is 7-bit ASCII");

    const std::optional<RtfReader::Document> document = RtfReader::read(rtf);
    require(document.has_value(), "the RTF reads back: groups balanced, escapes known");
    require(document->text == report.text(), "the text reads back exactly");
    QList<qint32> colours;
    for (const ReportText::Run &run : report.runs())
        colours.insert(colours.size(), run.length, rgbOf(run.colour));
    require(document->colours == colours, "each character reads back in its colour");
    return 0;
}
