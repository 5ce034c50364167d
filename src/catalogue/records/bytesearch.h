#pragma once

#include <QByteArrayView>

#include <cstring>
#include <string_view>

// Finding one byte in text. Qt 6.4's QByteArrayView::indexOf(char) goes
// through its general substring search, which costs more than the short
// lines of a listing it looks at; memchr and its kin go straight to it.
namespace ByteSearch {

// Where the first `c` of `text` at or after `from`, not negative, is, or -1.
[[nodiscard]] inline qsizetype indexOf(QByteArrayView text, char c, qsizetype from = 0)
{
    if (from >= text.size())
        return -1;
    const void *found = std::memchr(text.data() + from, c, size_t(text.size() - from));
    return found ? static_cast<const char *>(found) - text.data() : -1;
}

// Where the last `c` of `text` is, or -1.
[[nodiscard]] inline qsizetype lastIndexOf(QByteArrayView text, char c)
{
    const size_t found = std::string_view(text.data(), size_t(text.size())).rfind(c);
    return found == std::string_view::npos ? -1 : qsizetype(found);
}

} // namespace ByteSearch
