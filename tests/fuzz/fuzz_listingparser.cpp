// Any text, listing or not, parses into records that each have a UUID or an
// identifier, whose fields each come from within one line, and of which only
// the last can be cut off; and it parses the same whole or in pieces, as a
// listing is parsed while it is read, whether the listing is kept or only its
// records, and whether carriage returns end lines or not.

#include "appexfield.h"
#include "fuzzcheck.h"
#include "listingparser.h"

#include <cstdint>

namespace {

AppexList parsed(QByteArrayView text, bool crLineEnds, bool keepsListing, qsizetype piece)
{
    ListingParser parser;
    parser.setCrlfLineEnds(crLineEnds);
    parser.setKeepsListing(keepsListing);
    for (qsizetype at = 0; at < text.size(); at += piece)
        parser.addBytes(text.sliced(at, std::min(piece, text.size() - at)));
    return parser.finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Any bytes: the parser never sees invalid UTF-8 from a listing job, but
    // must not fail on it either.
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    // Pieces whose size the first byte picks, as it picks what is kept.
    const qsizetype piece = text.isEmpty() ? 1 : 1 + uchar(text.front()) % 13;
    const bool keepsListing = text.isEmpty() || uchar(text.front()) % 2 == 0;
    for (const bool crLineEnds : {false, true}) {
        const AppexList records =
            parsed(text, crLineEnds, true, std::max<qsizetype>(1, text.size()));
        for (qsizetype i = 0; i < records.size(); ++i) {
            const Appex &record = records[i];
            require(!record.bytes(AppexField::Uuid).isEmpty() ||
                        !record.bytes(AppexField::Identifier).isEmpty(),
                    "every record has a UUID or an identifier");
            require(i + 1 == records.size() ||
                        !record.problems().testFlag(AppexProblem::Incomplete),
                    "only the last record can be cut off");
            for (const AppexFieldInfo &field : appexFields) {
                const QByteArrayView bytes = record.bytes(field.field);
                require(!bytes.contains('\n') && !(crLineEnds && bytes.contains('\r')),
                        "no field holds a line end");
            }
        }

        const AppexList pieces = parsed(text, crLineEnds, keepsListing, piece);
        require(pieces.size() == records.size(), "pieces of any size give as many records");
        for (qsizetype i = 0; i < records.size(); ++i) {
            require(pieces[i].problems() == records[i].problems(),
                    "pieces of any size give the same problems");
            for (const AppexFieldInfo &field : appexFields)
                require(pieces[i].bytes(field.field) == records[i].bytes(field.field),
                        "pieces of any size give the same records");
        }
    }
    return 0;
}
