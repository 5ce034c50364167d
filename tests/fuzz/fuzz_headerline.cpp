// Any line read as a block's header: when it is one, its parts are trimmed, its
// election is one of the names, and the parser gives a record of that block
// the same parts.

#include "fuzzcheck.h"
#include "headerline.h"
#include "listingparser.h"
#include "textkey.h"

#include <cstdint>

namespace {

bool isTrimmed(QByteArrayView text)
{
    return TextKey::trimmed(text).size() == text.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray line = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))
                                .replace('\n', ""); // one line
    if (line.startsWith('>'))
        return 0; // quoted in Markdown: the parser reads the line unquoted
    const std::optional<HeaderLine> header = HeaderLine::parse(line);
    // After a first empty line: a byte order mark opening a listing is no text.
    const AppexList records = parseListing("\n" + line + "\nUUID = u");
    if (!header) {
        require(records.isEmpty() || records.first().bytes(AppexField::Identifier).isEmpty(),
                "no header, no identifier");
        return 0;
    }
    require(!line.contains(" = "), "a header holds no marker sign");
    require(isTrimmed(header->identifier) && isTrimmed(header->version), "parts are trimmed");
    require(header->election <= AppexElection::Unknown, "the election is one of the names");
    require(records.size() == 1 &&
                records.first().bytes(AppexField::Identifier) == header->identifier &&
                records.first().bytes(AppexField::Version) == header->version &&
                records.first().election() == header->election,
            "the parser keeps the header's parts");
    return 0;
}
