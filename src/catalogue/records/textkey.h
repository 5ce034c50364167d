#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

// Unicode rules shared by the parser, the sort orders and the search. Record
// fields are UTF-8; queries come as QStrings.
//
// Keys are UTF-8 strings in Unicode normalisation form C: comparing them byte
// by byte orders them by Unicode scalar value, and canonically equivalent texts
// give equal keys.
namespace TextKey {

[[nodiscard]] bool isAscii(QStringView text);
[[nodiscard]] bool isAscii(QByteArrayView utf8);
[[nodiscard]] constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// White space and line breaks: space, tab, every Unicode space separator,
// U+000A to U+000D, U+0085, U+2028 and U+2029.
[[nodiscard]] bool isUnicodeTrimCharacter(char32_t c); // of those at U+0080 and above
[[nodiscard]] inline bool isTrimCharacter(char32_t c)
{
    return c < 0x80 ? c == u' ' || (c >= u'\t' && c <= u'\r') : isUnicodeTrimCharacter(c);
}
[[nodiscard]] bool startsWithTrimCharacter(QByteArrayView utf8);
// trimmed(), for any text.
[[nodiscard]] QByteArrayView trimmedEnds(QByteArrayView utf8);
// `utf8` without the trim characters at either end. Inline for the usual
// text, which starts and ends with ASCII other than white space.
[[nodiscard]] inline QByteArrayView trimmed(QByteArrayView utf8)
{
    const auto kept = [](char c) { return uchar(c) < 0x80 && !isTrimCharacter(uchar(c)); };
    if (!utf8.isEmpty() && kept(utf8.front()) && kept(utf8.back()))
        return utf8;
    return trimmedEnds(utf8);
}

// Whether `utf8`, lower-cased, contains `query`, a non-empty lower-case ASCII
// text; nothing when `utf8` is not ASCII, whose lower case needs the full
// Unicode rules. Reads `utf8` without copying it.
[[nodiscard]] std::optional<bool> asciiFind(QByteArrayView utf8, std::string_view query);

// Appends the key of `text` to `key`: the text itself, canonically
// normalised, or, `ignoringCase`, the text of caseInsensitive().
void appendKey(std::string &key, QByteArrayView utf8, bool ignoringCase);

// The text after the locale-independent full lower-case mapping, canonically
// normalised: texts that differ only in letter case give equal keys.
[[nodiscard]] std::string caseInsensitive(QStringView text);

} // namespace TextKey
