#pragma once

#include "appex.h"

#include <QList>
#include <QString>

#include <initializer_list>

// The roles of the report's colours; the encoder decides what each looks like.
enum class ReportColour { Blue, Green, Red, Text };

// Styled text: the characters, and a colour for each stretch of them. Held as
// one string so that a report of many records costs few allocations.
class ReportText
{
public:
    struct Run
    {
        qsizetype length;
        ReportColour colour;
    };

    // Appends one run made of `pieces`, in `colour`.
    void append(std::initializer_list<QStringView> pieces, ReportColour colour);

    [[nodiscard]] const QString &text() const { return m_text; }
    [[nodiscard]] const QList<Run> &runs() const { return m_runs; }

private:
    QString m_text;
    QList<Run> m_runs;
};

// The report of `records`: one line per record, in list order, each line the
// record's fields as coloured runs. The parent's runs depend on `parentName`
// alone. Nothing else: no title, header or footer.
[[nodiscard]] ReportText composeReport(const AppexList &records);
