#include "election.h"

namespace {

QString choiceArgument(Election::Choice choice)
{
    switch (choice) {
    case Election::Choice::Use:
        return QStringLiteral("use");
    case Election::Choice::Ignore:
        return QStringLiteral("ignore");
    case Election::Choice::Default:
        break;
    }
    return QStringLiteral("default");
}

} // namespace

QStringList Election::toolArguments() const
{
    return {QStringLiteral("-e"), choiceArgument(choice),
            kind == Target::Copy ? QStringLiteral("-u") : QStringLiteral("-i"), target};
}
