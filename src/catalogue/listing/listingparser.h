#pragma once

#include "appex.h"

#include <QByteArray>
#include <QSet>

#include <optional>

// Turns the text that `pluginkit -m -vv` prints into records, one per block of
// lines that carries a "UUID = " line. Blocks are separated by blank lines.
// Text with no such block is read as `pluginkit -m` or `pluginkit -m -v`
// prints it, a line per copy. What pasting adds around the tool's output is
// read past: a Markdown quote's "> ", shell prompts, the tool's count lines;
// and a last block cut off where the text ends is kept, marked incomplete.
// Never fails: text off the format yields fewer records or odd field values.
//
// The text, UTF-8, may arrive in pieces of any size, split anywhere, so a
// listing is parsed while it is still being read. The parser keeps the
// listing's bytes, and its records are stretches of them; or, when asked to
// keep only the records, it copies their texts side by side as it reads and
// lets the rest go, so that a large listing never stays whole in memory.
class ListingParser
{
public:
    // Whether carriage returns end lines too, as in a listing captured on
    // another system or passed through one: CR LF, a lone CR, and CR CR LF
    // (CR LF converted once more) each end a line. The tool's own listings
    // keep them as text.
    void setCrlfLineEnds(bool crlf) { m_crLineEnds = crlf; }
    // Whether listing() keeps every byte added (by default), or the records
    // alone are kept.
    void setKeepsListing(bool keeps) { m_keepsListing = keeps; }
    // The UUIDs of the copies the system uses, when the listing holds every
    // copy: finish() then marks each copy in use or not. Without them, whether
    // a copy is in use stays unknown.
    void setInUseUuids(QSet<QByteArray> uuids) { m_inUseUuids = std::move(uuids); }
    // Room for a listing of `size` bytes, when it is known, before any is added.
    void reserve(qsizetype size);
    void addBytes(QByteArrayView utf8);
    // The records of all the text added, in listing order, each told what the
    // listing says of its copies (CopyAnnotation); listing() then holds the
    // bytes they share.
    [[nodiscard]] AppexList finish();
    // The bytes added, exactly as they came; empty when only the records
    // are kept.
    [[nodiscard]] const QByteArray &listing() const { return m_listing; }

    // Records complete so far: of the blocks ended, those with a UUID.
    [[nodiscard]] qsizetype recordCount() const { return m_records.size() - m_blockHasRecord; }

private:
    qsizetype addLines(QByteArrayView text, qsizetype searchFrom, bool atEnd = false);
    void addLine(QByteArrayView line);
    bool addUsualMarkerLine(QByteArrayView line);
    void addOtherLine(QByteArrayView line);
    // The record of the block being read, made at its header or first marker
    // line, as the last of the records.
    Appex &blockRecord();
    void setField(AppexField field, QByteArrayView value);
    void setFieldWithin(AppexField field, QByteArrayView value, AppexField outer,
                        QByteArrayView outerValue);
    void endBlock();
    void endListing();
    void appendText(QByteArrayView text);
    void dropParsedLines();
    void addOneLineRecords();
    void addOneLineRecord(QByteArrayView line);

    QByteArray m_listing;      // its lines not yet parsed, when only the records are kept
    QByteArray m_texts;        // the records' texts, when only they are kept
    qsizetype m_textsSize = 0; // of m_texts written
    qsizetype m_lineStart = 0; // of the line not yet ended, in m_listing
    AppexList m_records;
    bool m_atListingStart = true; // before its first line
    bool m_blockHasRecord = false;
    bool m_blockHasText = false;
    // Whether the block's last line with text looks cut off: a key without
    // a value, or text that is neither a key nor a header.
    bool m_lastLineCut = false;
    bool m_crLineEnds = false;
    bool m_keepsListing = true;
    // Whether the listing has shown itself to be of blocks, by a record of
    // one; until then it may be of the one-line shape, read once complete.
    bool m_isOfBlocks = false;
    std::optional<QSet<QByteArray>> m_inUseUuids;
};

// The records of a whole listing, sharing its bytes.
[[nodiscard]] AppexList parseListing(QByteArrayView utf8);
