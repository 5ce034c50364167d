// Any text, listing or not, parses into records that each have a UUID and whose
// fields each come from within one line.

#include "fuzzcheck.h"
#include "listingparser.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const AppexList records =
        parseListing(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const Appex &record : records) {
        require(!record.uuid.isEmpty(), "every record has a UUID");
        for (const QString *field : {&record.SDK, &record.name, &record.path, &record.parentPath,
                                     &record.parentName, &record.uuid})
            require(!field->contains(u'\n'), "no field holds a line feed");
    }
    return 0;
}
