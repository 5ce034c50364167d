#pragma once

#include "appexsearch.h"
#include "election.h"
#include "listinglimits.h"
#include "registration.h"
#include "sortcode.h"

#include <QString>

#include <optional>

enum ExitCode { Success = 0, Failure = 1, BadUsage = 2 };

// What one run of zephlist-cli is asked to do.
struct Options
{
    QString listing;                  // empty: run the listing tool
    QString compare;                  // an older listing to compare with
    bool compareWithPrevious = false; // --compare previous: the newest kept listing
    SortCode sortCode = SortCode::SDK;
    QString search;
    AppexSearch::Scope scope = AppexSearch::Scope::Uuid;
    QString format;
    QString output; // empty: standard output
    QString tool;
    ListingLimits limits{.keepsListing = false}; // the records are all a script gets
    std::optional<Election> election;
    std::optional<Registration> registration;
    bool cleanStale = false;
    bool dryRun = false;       // --clean-stale: print the plan, change nothing
    bool printCommand = false; // print the tool's commands, run none that changes anything
    bool allCopies = false;
    QString point; // keep the records of this point or category
    bool problemsOnly = false;
    QString explain; // an identifier whose copies to explain
    bool listHistory = false;
    bool keepHistory = true; // keep the tool's listings in the history
};
