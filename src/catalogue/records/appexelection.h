#pragma once

#include "appex.h"

#include <QCoreApplication>
#include <QLatin1StringView>

#include <array>

// Each election a record may carry: its tag in the tool's header lines, its
// name in records and JSON, the word and the mark the window shows for it,
// and what it alone says may be wrong with the record.
struct AppexElectionInfo
{
    AppexElection election;
    char tag; // '\0' for none
    QLatin1StringView name;
    const char *label; // untranslated: see electionLabel()
    const char *mark;  // UTF-8
    AppexProblems problems;
};

// In the order of AppexElection.
inline constexpr std::array<AppexElectionInfo, 6> appexElections = {{
    {AppexElection::None,
     '\0',
     QLatin1StringView(""),
     QT_TRANSLATE_NOOP("AppexElection", "in use"),
     "\u2713",
     {}},
    {AppexElection::Use,
     '+',
     QLatin1StringView("use"),
     QT_TRANSLATE_NOOP("AppexElection", "in use"),
     "\u2713",
     {}},
    {AppexElection::Ignore,
     '-',
     QLatin1StringView("ignore"),
     QT_TRANSLATE_NOOP("AppexElection", "ignored"),
     "\u2298",
     {}},
    {AppexElection::Debug, '!', QLatin1StringView("debug"),
     QT_TRANSLATE_NOOP("AppexElection", "debug"), "!", AppexProblem::Debug},
    {AppexElection::Superseded, '=', QLatin1StringView("superseded"),
     QT_TRANSLATE_NOOP("AppexElection", "superseded"), "=", AppexProblem::Superseded},
    {AppexElection::Unknown, '?', QLatin1StringView("unknown"),
     QT_TRANSLATE_NOOP("AppexElection", "unknown"), "?", AppexProblem::Unknown},
}};

[[nodiscard]] constexpr const AppexElectionInfo &electionInfo(AppexElection election)
{
    return appexElections[size_t(election)];
}

[[nodiscard]] inline QString electionLabel(const AppexElectionInfo &info)
{
    return QCoreApplication::translate("AppexElection", info.label);
}
