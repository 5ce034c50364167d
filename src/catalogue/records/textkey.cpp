#include "textkey.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace {

std::string normalisedUtf8(const icu::UnicodeString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeString normalised = U_SUCCESS(status) ? nfc->normalize(text, status) : text;
    std::string key;
    (U_SUCCESS(status) ? normalised : text).toUTF8String(key);
    return key;
}

void appendUnicodeKey(std::string &key, icu::UnicodeString text, bool ignoringCase)
{
    if (ignoringCase)
        text.toLower(icu::Locale::getRoot());
    key += normalisedUtf8(text);
}

// The length in bytes of the trim character that `utf8` starts with (from the
// front) or ends with (from the back); 0 when there is none.
qsizetype trimCharacterAtFront(QByteArrayView utf8)
{
    int32_t i = 0;
    UChar32 c = 0;
    U8_NEXT(reinterpret_cast<const uint8_t *>(utf8.data()), i,
            int32_t(std::min<qsizetype>(utf8.size(), 4)), c);
    return c >= 0 && TextKey::isTrimCharacter(char32_t(c)) ? i : 0;
}

qsizetype trimCharacterAtBack(QByteArrayView utf8)
{
    const QByteArrayView tail = utf8.last(std::min<qsizetype>(utf8.size(), 4));
    auto i = int32_t(tail.size());
    UChar32 c = 0;
    U8_PREV(reinterpret_cast<const uint8_t *>(tail.data()), 0, i, c);
    return c >= 0 && TextKey::isTrimCharacter(char32_t(c)) ? tail.size() - i : 0;
}

} // namespace

namespace TextKey {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isAscii(QByteArrayView utf8)
{
    // Without an early exit the compiler checks many bytes at a time.
    uchar any = 0;
    for (const char c : utf8)
        any |= uchar(c);
    return any < 0x80;
}

bool isUnicodeTrimCharacter(char32_t c)
{
    return c == 0x85 || c == 0x2028 || c == 0x2029 || u_charType(UChar32(c)) == U_SPACE_SEPARATOR;
}

bool startsWithTrimCharacter(QByteArrayView utf8)
{
    if (utf8.isEmpty())
        return false;
    const uchar first = uchar(utf8.front());
    return first < 0x80 ? isTrimCharacter(first) : trimCharacterAtFront(utf8) > 0;
}

QByteArrayView trimmedEnds(QByteArrayView utf8)
{
    while (!utf8.isEmpty()) {
        const uchar first = uchar(utf8.front());
        const qsizetype size =
            first < 0x80 ? (isTrimCharacter(first) ? 1 : 0) : trimCharacterAtFront(utf8);
        if (size == 0)
            break;
        utf8 = utf8.sliced(size);
    }
    while (!utf8.isEmpty()) {
        const uchar last = uchar(utf8.back());
        const qsizetype size =
            last < 0x80 ? (isTrimCharacter(last) ? 1 : 0) : trimCharacterAtBack(utf8);
        if (size == 0)
            break;
        utf8.chop(size);
    }
    return utf8;
}

std::optional<bool> asciiFind(QByteArrayView utf8, std::string_view query)
{
    const qsizetype size = utf8.size();
    const qsizetype last = size - qsizetype(query.size());
    bool found = false;
    // One pass: every character is checked for ASCII, and each one that
    // starts like the query is compared with the rest of it.
    for (qsizetype i = 0; i < size; ++i) {
        const char c = utf8[i];
        if (uchar(c) >= 0x80)
            return std::nullopt;
        if (found || i > last || asciiLower(c) != query[0])
            continue;
        size_t k = 1;
        while (k < query.size() && asciiLower(utf8[i + qsizetype(k)]) == query[k])
            ++k;
        found = k == query.size();
    }
    return found;
}

void appendKey(std::string &key, QByteArrayView utf8, bool ignoringCase)
{
    if (!isAscii(utf8)) {
        appendUnicodeKey(
            key, icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size()))),
            ignoringCase);
        return;
    }
    // ASCII text is already normalised, and its full lower-case mapping is
    // the ASCII one.
    const size_t start = key.size();
    key.append(utf8.data(), size_t(utf8.size()));
    if (ignoringCase)
        std::transform(key.begin() + qsizetype(start), key.end(), key.begin() + qsizetype(start),
                       asciiLower);
}

std::string caseInsensitive(QStringView text)
{
    std::string key;
    // Read-only alias: ICU copies on the first change.
    appendUnicodeKey(key,
                     icu::UnicodeString(false, reinterpret_cast<const UChar *>(text.utf16()),
                                        int32_t(text.size())),
                     true);
    return key;
}

} // namespace TextKey
