#include "textkey.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace {

std::string asciiBytes(QStringView text, bool lowerCase)
{
    std::string bytes(size_t(text.size()), '\0');
    std::transform(text.begin(), text.end(), bytes.begin(), [lowerCase](QChar c) {
        return char(lowerCase ? TextKey::asciiLower(c.unicode()) : c.unicode());
    });
    return bytes;
}

icu::UnicodeString aliasOf(QStringView text)
{
    // Read-only alias: ICU copies on the first change.
    return icu::UnicodeString(false, reinterpret_cast<const UChar *>(text.utf16()),
                              int32_t(text.size()));
}

std::string normalisedUtf8(const icu::UnicodeString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeString normalised = U_SUCCESS(status) ? nfc->normalize(text, status) : text;
    std::string key;
    (U_SUCCESS(status) ? normalised : text).toUTF8String(key);
    return key;
}

} // namespace

namespace TextKey {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isTrimCharacter(char16_t c)
{
    if (c < 0x80)
        return c == u' ' || (c >= u'\t' && c <= u'\r');
    return c == 0x85 || c == 0x2028 || c == 0x2029 || u_charType(c) == U_SPACE_SEPARATOR;
}

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimCharacter(text[begin].unicode()))
        ++begin;
    while (end > begin && isTrimCharacter(text[end - 1].unicode()))
        --end;
    return text.sliced(begin, end - begin);
}

std::string caseSensitive(QStringView text)
{
    if (TextKey::isAscii(text))
        return asciiBytes(text, false);
    return normalisedUtf8(aliasOf(text));
}

std::string caseInsensitive(QStringView text)
{
    // ASCII text is already normalised, and its full lower-case mapping is
    // the ASCII one.
    if (TextKey::isAscii(text))
        return asciiBytes(text, true);
    icu::UnicodeString lowered = aliasOf(text);
    lowered.toLower(icu::Locale::getRoot());
    return normalisedUtf8(lowered);
}

} // namespace TextKey
