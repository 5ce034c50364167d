#pragma once

#include "listinghistory.h"
#include "listingjob.h"

#include <QCoreApplication>

#include <optional>

class Output;

// What zephlist-cli does with the kept listings: --history lists them,
// --compare previous reads the newest one.
class HistoryCommands
{
    Q_DECLARE_TR_FUNCTIONS(HistoryCommands)

public:
    explicit HistoryCommands(ListingHistory history);

    [[nodiscard]] const ListingHistory &history() const { return m_history; }

    // The kept listings, oldest first: their time (UTC), records and file, a
    // line each, or as a JSON array of objects. The files passed over are
    // named on standard error. False once a write failed.
    [[nodiscard]] bool list(Output &output, bool asJson) const;
    // The newest kept listing's records, or nothing once it said why.
    [[nodiscard]] std::optional<Listing> readPrevious();
    // When the listing readPrevious() read was made.
    [[nodiscard]] const QDateTime &previousTime() const { return m_previousTime; }

private:
    ListingHistory m_history;
    QDateTime m_previousTime;
};
