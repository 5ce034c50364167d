#include "messages.h"

#include <cstdio>

namespace Messages {

void printError(const QString &message)
{
    std::fprintf(stderr, "zephlist-cli: %s\n", qPrintable(message));
}

void printFailure(const JobFailure &failure)
{
    printError(failure.text);
    if (!failure.detail.isEmpty())
        printNote(failure.detail);
}

void printNote(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

} // namespace Messages
