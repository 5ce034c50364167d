#pragma once

#include "appex.h"

#include <QCoreApplication>
#include <QLatin1StringView>

#include <array>

// Each problem a record may have, with its code (JSON, the CLI) and the
// sentence the window shows.
struct AppexProblemInfo
{
    AppexProblem problem;
    QLatin1StringView code;
    const char *sentence; // untranslated: see problemSentence()
};

inline constexpr std::array<AppexProblemInfo, 8> appexProblems = {{
    {AppexProblem::Duplicate, QLatin1StringView("duplicate"),
     QT_TRANSLATE_NOOP("AppexProblem", "Its identifier is registered at more than one path.")},
    {AppexProblem::Inactive, QLatin1StringView("inactive"),
     QT_TRANSLATE_NOOP("AppexProblem", "The system does not use this copy.")},
    {AppexProblem::Missing, QLatin1StringView("missing"),
     QT_TRANSLATE_NOOP("AppexProblem", "Its bundle is not on this computer.")},
    {AppexProblem::Development, QLatin1StringView("development"),
     QT_TRANSLATE_NOOP("AppexProblem",
                       "It lies in a build folder, the Trash or a mounted volume.")},
    {AppexProblem::Superseded, QLatin1StringView("superseded"),
     QT_TRANSLATE_NOOP("AppexProblem", "Another copy supersedes it.")},
    {AppexProblem::Debug, QLatin1StringView("debug"),
     QT_TRANSLATE_NOOP("AppexProblem", "It is registered for debugging.")},
    {AppexProblem::Unknown, QLatin1StringView("unknown"),
     QT_TRANSLATE_NOOP("AppexProblem", "The system does not know whether to use it.")},
    {AppexProblem::Incomplete, QLatin1StringView("incomplete"),
     QT_TRANSLATE_NOOP("AppexProblem", "This entry looks cut off.")},
}};

[[nodiscard]] inline QString problemSentence(const AppexProblemInfo &info)
{
    return QCoreApplication::translate("AppexProblem", info.sentence);
}
