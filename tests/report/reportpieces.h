#pragma once

#include "reportcomposer.h"

#include <QList>
#include <QString>

#include <utility>

// A report written as its runs' texts and colours, for readable comparisons.
using ReportPieces = QList<std::pair<QString, ReportColour>>;

inline ReportPieces piecesOf(const ReportText &report)
{
    ReportPieces pieces;
    qsizetype start = 0;
    for (const ReportText::Run &run : report.runs()) {
        pieces.append({report.text().sliced(start, run.length), run.colour});
        start += run.length;
    }
    return pieces;
}

inline ReportText reportOf(const ReportPieces &pieces)
{
    ReportText report;
    for (const auto &[text, colour] : pieces)
        report.append({text}, colour);
    return report;
}
