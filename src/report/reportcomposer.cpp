#include "reportcomposer.h"

void ReportText::append(std::initializer_list<QStringView> pieces, ReportColour colour)
{
    const qsizetype start = m_text.size();
    for (const QStringView piece : pieces)
        m_text += piece;
    m_runs.append({m_text.size() - start, colour});
}

ReportText composeReport(const AppexList &records)
{
    const QStringView space = u" ";
    ReportText report;
    for (const Appex &record : records) {
        report.append({record.SDK(), space}, ReportColour::Blue);
        report.append({record.name(), space}, ReportColour::Text);
        report.append({record.path(), space}, ReportColour::Green);
        if (!record.parentName().isEmpty()) {
            report.append({parentMarker, record.parentName(), space}, ReportColour::Text);
            report.append({record.parentPath(), space}, ReportColour::Red);
        }
        report.append({record.uuid(), u"\n"}, ReportColour::Text);
    }
    return report;
}
