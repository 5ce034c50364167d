#pragma once

#include "jobfailure.h"

#include <QString>

// What zephlist-cli tells on standard error.
namespace Messages {

// "zephlist-cli: MESSAGE"
void printError(const QString &message);
// Its text as an error, then what the tool said, if anything.
void printFailure(const JobFailure &failure);
// A line as it is.
void printNote(const QString &line);

} // namespace Messages
