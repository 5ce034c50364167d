#pragma once

#include "appex.h"

#include <QStringView>

#include <optional>
#include <unordered_set>

// Turns the text that `pluginkit -m -vv` prints into records, one per block of
// lines that carries a "UUID = " line. Blocks are separated by blank lines.
// Never fails: text off the format yields fewer records or odd field values.
//
// The text may arrive in pieces of any size, split anywhere, so a listing is
// parsed while it is still being read.
class ListingParser
{
public:
    void addText(QStringView text);
    // The records of all the text added, in listing order.
    [[nodiscard]] AppexList finish();

    // Records complete so far: of the blocks ended, those with a UUID.
    [[nodiscard]] qsizetype recordCount() const { return m_records.size() - m_blockHasRecord; }

private:
    // Values that many records hold alike, an SDK or a parent, kept once and
    // shared by the records: a large listing takes far less memory.
    class SharedValues
    {
    public:
        [[nodiscard]] QString get(QStringView value);

    private:
        static constexpr size_t maxValues = 4096;
        struct Hash
        {
            using is_transparent = void;
            size_t operator()(QStringView text) const { return qHash(text); }
        };
        std::unordered_set<QString, Hash, std::equal_to<>> m_values;
    };

    void addLine(QStringView line);
    // The record of the block being read, made at its header or first marker
    // line, as the last of the records.
    Appex &blockRecord();
    void endBlock();

    AppexList m_records;
    QString m_partialLine; // the text after the last line feed so far
    bool m_blockHasRecord = false;
    bool m_blockHasText = false;
    SharedValues m_sharedValues;
};

// The records of a whole listing.
[[nodiscard]] AppexList parseListing(QStringView text);
