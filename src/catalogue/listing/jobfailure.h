#pragma once

#include <QString>

#include <variant>

// Why a job did not do what it was asked: a sentence for the user, and what
// the tool itself said, if anything.
struct JobFailure
{
    QString text;
    QString detail;
    bool cancelled = false;
};

// What a job ends with: what it made, or why it failed.
template<typename Made> using JobResult = std::variant<Made, JobFailure>;
