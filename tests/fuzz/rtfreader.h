#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Reads RTF as a word processor shows it: the text, and the colour of each of
// its UTF-16 units. Written from the RTF rules rather than from the encoder, so
// that the fuzzer can hold one against the other. It knows groups, the colour
// table, \cfN, \plain, \par, \tab, \uN with \ucN fallbacks and the escapes
// \\ \{ \}; it skips the font table and \* destinations and ignores other words.
namespace RtfReader {

constexpr qint32 automaticColour = -1;

struct Document
{
    QString text;
    QList<qint32> colours; // 0xRRGGBB or automaticColour, one per unit of `text`
};

// The document, or std::nullopt for RTF that no reader should accept: a group
// closed that was never opened or left open, an unknown escape, a colour that
// the table lacks.
[[nodiscard]] std::optional<Document> read(QByteArrayView rtf);

} // namespace RtfReader
