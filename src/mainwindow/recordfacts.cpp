#include "recordfacts.h"

#include "appexproblem.h"

#include <QCoreApplication>

namespace {

enum class State { InUse, Ignored, Superseded, Debug, Unknown, Problem };

State stateOf(AppexElection election)
{
    switch (election) {
    case AppexElection::Ignore:
        return State::Ignored;
    case AppexElection::Superseded:
        return State::Superseded;
    case AppexElection::Debug:
        return State::Debug;
    case AppexElection::Unknown:
        return State::Unknown;
    case AppexElection::None:
    case AppexElection::Use:
        break;
    }
    return State::InUse;
}

struct StateInfo
{
    const char *mark;
    const char *name;
};

// In the order of State.
const StateInfo states[] = {
    {"\u2713", QT_TRANSLATE_NOOP("RecordFacts", "in use")},
    {"\u2298", QT_TRANSLATE_NOOP("RecordFacts", "ignored")},
    {"=", QT_TRANSLATE_NOOP("RecordFacts", "superseded")},
    {"!", QT_TRANSLATE_NOOP("RecordFacts", "debug")},
    {"?", QT_TRANSLATE_NOOP("RecordFacts", "unknown")},
    {"\u26A0", QT_TRANSLATE_NOOP("RecordFacts", "problem")},
};

const StateInfo &infoOf(const Appex &record)
{
    return states[size_t(RecordFacts::stateRank(record))];
}

} // namespace

namespace RecordFacts {

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
    return &infoOf(record) == &states[size_t(State::InUse)] ? QString() : stateMark(record);
}

QString rowTip(const Appex &record)
{
    QStringList lines{stateMark(record) + QStringLiteral("  ") + stateName(record)};
    lines << problems(record);
    return lines.join(u'\n') + QStringLiteral("\n\n") + stateLegend();
}

int stateRank(const Appex &record)
{
    return int(record.problems() ? State::Problem : stateOf(record.election()));
}

QString stateMark(const Appex &record)
{
    return QString::fromUtf8(infoOf(record).mark);
}

QString stateName(const Appex &record)
{
    return QCoreApplication::translate("RecordFacts", infoOf(record).name);
}

QString stateLegend()
{
    QStringList lines;
    for (const StateInfo &state : states)
        lines << QString::fromUtf8(state.mark) + QStringLiteral("  ") +
                     QCoreApplication::translate("RecordFacts", state.name);
    return lines.join(u'\n');
}

} // namespace RecordFacts
