#include "textkey.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace {

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

bool isUnicodeTrimCharacter(char16_t c)
{
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

std::optional<bool> asciiFind(QStringView text, std::string_view query)
{
    const char16_t *chars = text.utf16();
    const qsizetype size = text.size();
    const qsizetype last = size - qsizetype(query.size());
    bool found = false;
    // One pass: every character is checked for ASCII, and each one that
    // starts like the query is compared with the rest of it.
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c >= 0x80)
            return std::nullopt;
        if (found || i > last || asciiLower(c) != query[0])
            continue;
        size_t k = 1;
        while (k < query.size() && asciiLower(chars[i + qsizetype(k)]) == char16_t(query[k]))
            ++k;
        found = k == query.size();
    }
    return found;
}

void appendKey(std::string &key, QStringView text, bool ignoringCase)
{
    // ASCII text is already normalised, and its full lower-case mapping is
    // the ASCII one.
    const size_t start = key.size();
    key.resize(start + size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) {
            key.resize(start);
            icu::UnicodeString unicode = aliasOf(text);
            if (ignoringCase)
                unicode.toLower(icu::Locale::getRoot());
            key += normalisedUtf8(unicode);
            return;
        }
        key[start + size_t(i)] = char(ignoringCase ? asciiLower(c) : c);
    }
}

std::string caseInsensitive(QStringView text)
{
    std::string key;
    appendKey(key, text, true);
    return key;
}

} // namespace TextKey
