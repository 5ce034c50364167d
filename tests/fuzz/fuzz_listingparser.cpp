// Any text, listing or not, parses into records that each have a UUID and whose
// fields each come from within one line; and it parses the same whole or in
// pieces, as a listing is parsed while it is read, whether the listing is kept
// or only its records.

#include "appexfield.h"
#include "fuzzcheck.h"
#include "listingparser.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Any bytes: the parser never sees invalid UTF-8 from a listing job, but
    // must not fail on it either.
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    const AppexList records = parseListing(text);
    for (const Appex &record : records) {
        require(!record.bytes(AppexField::Uuid).isEmpty(), "every record has a UUID");
        for (const AppexFieldInfo &field : appexFields)
            require(!record.bytes(field.field).contains('\n'), "no field holds a line feed");
    }

    // Pieces whose size the first byte picks, as it picks what is kept.
    const qsizetype piece = text.isEmpty() ? 1 : 1 + uchar(text.front()) % 13;
    ListingParser parser;
    parser.setKeepsListing(text.isEmpty() || uchar(text.front()) % 2 == 0);
    for (qsizetype at = 0; at < text.size(); at += piece)
        parser.addBytes(text.sliced(at, std::min(piece, text.size() - at)));
    const AppexList pieces = parser.finish();
    require(pieces.size() == records.size(), "pieces of any size give as many records");
    for (qsizetype i = 0; i < records.size(); ++i) {
        for (const AppexFieldInfo &field : appexFields)
            require(pieces[i].bytes(field.field) == records[i].bytes(field.field),
                    "pieces of any size give the same records");
    }
    return 0;
}
