#include "recordfacts.h"

#include "appexelection.h"
#include "appexproblem.h"

#include <QCoreApplication>

namespace {

// A record with problems shows them before its election.
constexpr const char *problemMark = "\u26A0";
const char *const problemLabel = QT_TRANSLATE_NOOP("RecordFacts", "problem");
// A copy the system does not use says so before its problems, which are
// mostly why: its stale siblings give the copy in use no mark.
constexpr const char *notUsedMark = "\u25CC";
const char *const notUsedLabel = QT_TRANSLATE_NOOP("RecordFacts", "not used");

bool isNotUsed(const Appex &record)
{
    return record.active() == false;
}

} // namespace

namespace RecordFacts {

QString shownText(QString text)
{
    if (text.size() <= shownLength)
        return text;
    text.truncate(shownLength);
    if (text.back().isHighSurrogate()) // half a character
        text.chop(1);
    return text + u'\u2026';
}

QString shownText(const Appex &record, AppexField field)
{
    // A character takes at most four bytes: enough of them for the
    // characters shown, and one more to tell that some are cut.
    const QByteArrayView bytes = record.bytes(field);
    if (bytes.size() <= shownLength)
        return record.text(field);
    return shownText(QString::fromUtf8(bytes.first(std::min(bytes.size(), 4 * shownLength + 4))));
}

QString shownSDK(const Appex &record)
{
    static const QLatin1StringView whole("SDK = ");
    const QString sdk = shownText(record, AppexField::SDK);
    return sdk.startsWith(whole) ? sdk.sliced(whole.size()) : sdk;
}

QStringList problems(const Appex &record)
{
    QStringList sentences;
    for (const AppexProblemInfo &info : appexProblems) {
        if (record.problems().testFlag(info.problem))
            sentences << problemSentence(info);
    }
    return sentences;
}

AppexList copiesOf(const AppexList &records, const Appex &record)
{
    AppexList copies;
    const QByteArrayView identifier = record.bytes(AppexField::Identifier);
    for (const Appex &other : records) {
        if (other.bytes(AppexField::Identifier) == identifier)
            copies << other;
    }
    return copies;
}

QString rowMark(const Appex &record)
{
    const bool inUse = !record.problems() && electionInfo(record.election()).problems == 0 &&
                       record.election() != AppexElection::Ignore;
    return inUse ? QString() : stateMark(record);
}

QString rowTip(const Appex &record)
{
    QStringList lines{stateMark(record) + QStringLiteral("  ") + stateName(record)};
    lines << problems(record);
    return lines.join(u'\n') + QStringLiteral("\n\n") + stateLegend();
}

int stateRank(const Appex &record)
{
    if (isNotUsed(record))
        return int(appexElections.size()) + 1; // last, as the legend lists it
    if (record.problems())
        return int(appexElections.size()); // after every election, as the column's marks go
    // None and Use read the same, "in use", so they sort together.
    return int(record.election() == AppexElection::None ? AppexElection::Use : record.election());
}

QString stateMark(const Appex &record)
{
    if (isNotUsed(record))
        return QString::fromUtf8(notUsedMark);
    return QString::fromUtf8(record.problems() ? problemMark
                                               : electionInfo(record.election()).mark);
}

QString stateName(const Appex &record)
{
    if (isNotUsed(record))
        return QCoreApplication::translate("RecordFacts", notUsedLabel);
    return record.problems() ? QCoreApplication::translate("RecordFacts", problemLabel)
                             : electionLabel(electionInfo(record.election()));
}

QString stateLegend()
{
    QStringList lines;
    QString lastMark;
    for (const AppexElectionInfo &info : appexElections) {
        const QString mark = QString::fromUtf8(info.mark);
        if (std::exchange(lastMark, mark) != mark) // each mark once
            lines << mark + QStringLiteral("  ") + electionLabel(info);
    }
    lines << QString::fromUtf8(problemMark) + QStringLiteral("  ") +
                 QCoreApplication::translate("RecordFacts", problemLabel);
    lines << QString::fromUtf8(notUsedMark) + QStringLiteral("  ") +
                 QCoreApplication::translate("RecordFacts", notUsedLabel);
    return lines.join(u'\n');
}

} // namespace RecordFacts
