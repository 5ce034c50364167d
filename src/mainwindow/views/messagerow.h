#pragma once

#include "appex.h"
#include "appexer.h"

#include <QList>
#include <QString>

// What one row of the list shows for a record: coloured texts, left to right.
class MessageRow
{
public:
    enum class Colour { Green, Brown, Orange, Red, Text };

    struct Item
    {
        QString text;
        Colour colour;

        friend bool operator==(const Item &, const Item &) = default;
    };

    MessageRow(Appex line, bool showPaths, bool showUUID, bool isSearching);

    // SDK and name always; the path with `showPaths`; the parent's name when
    // there is one, and its path with `showPaths`; the UUID with `showUUID`,
    // and in every row of the search results.
    [[nodiscard]] QList<Item> items() const;

    // How many characters items() holds in all, read from the sizes of the
    // record's fields.
    [[nodiscard]] static qsizetype textLength(const FieldSizes &sizes, bool showPaths,
                                              bool showUUID, bool isSearching);

private:
    Appex m_line;
    bool m_showPaths = false;
    bool m_showUUID = false;
    bool m_isSearching = false;
};
