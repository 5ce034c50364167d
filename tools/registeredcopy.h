#pragma once

#include <string>
#include <string_view>
#include <vector>

// One registered copy of a plug-in: a block of the tool's verbose listing,
// "+    com.example.Widget(1.2)" and its "Key = value" lines. The views point
// into the listing it was read from, which must outlive it.
struct RegisteredCopy
{
    std::string_view header;
    std::string_view body; // the lines after the header, without the last line's end
    std::string_view identifier;
    std::string_view version;
    std::string_view uuid;
    std::string_view timestamp;
    std::string_view point; // the SDK, the extension point it plugs into
    std::string_view path;
    bool sampled = false; // in the sample: the system's own choice of the copies in use
    char tag = ' ';       // the header's own, unless an election changes it (see Registry)
    bool inUse = false;   // listed without -A or -D

    // The copy's verbose block with its tag in the header's first column.
    [[nodiscard]] std::string block() const;
    // The one-line form: the tagged header, then with `verbose` UUID, timestamp and path.
    [[nodiscard]] std::string line(bool verbose) const;
};

// The blocks of `listing`, separated by empty lines, in their order.
[[nodiscard]] std::vector<RegisteredCopy> readCopies(std::string_view listing, bool sampled);
