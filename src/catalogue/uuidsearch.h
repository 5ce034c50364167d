#pragma once

#include "appex.h"

#include <QStringView>

#include <string>

// The window's search: a record matches when its `uuid`, lower-cased, contains
// the lower-cased query. Lower case is the locale-independent full mapping, and
// canonically equivalent texts count as equal. An empty query matches nothing.
class UuidSearch
{
public:
    explicit UuidSearch(QStringView query);

    [[nodiscard]] bool matches(const Appex &record) const;
    // Copies of the matching records, in their order.
    [[nodiscard]] AppexList filter(const AppexList &records) const;

private:
    std::string m_queryKey;
    bool m_asciiQuery;
};
