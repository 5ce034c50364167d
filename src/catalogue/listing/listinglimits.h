#pragma once

#include <QtGlobal>

#include <chrono>

// Bounds on reading one listing, and what of it is kept.
struct ListingLimits
{
    std::chrono::milliseconds timeout = std::chrono::seconds(60); // for the tool
    qsizetype maxBytes = qsizetype(256) * 1024 * 1024;
    qsizetype maxRecords = 1'000'000;
    // Whether the listing's bytes are kept whole, to be saved again; or only
    // its records, in less memory.
    bool keepsListing = true;
};
