#pragma once

#include <optional>
#include <string>

// A copy registered with -a: what its bundle folder says of it, and what the
// registration gave it. Its identifier, version, point and name come from the
// lines "identifier=...", "version=...", "point=..." and "name=..." of the
// folder's Contents/zephlist-standin.txt; each may be left out, as may the
// file. The identifier is then the folder's name without its extension as
// Xcode turns a product's name into one (each character other than an ASCII
// letter, digit, "-" or "." becomes "-"), the version 1.0, the name the
// folder's, and without a point the copy has no SDK.
struct AddedCopy
{
    std::string uuid;
    std::string timestamp; // "2026-09-04 18:28:09 +0000"
    std::string identifier;
    std::string version;
    std::string point;
    std::string name;
    std::string path; // absolute

    // The bundle folder at `path`, absolute, registered now with a fresh UUID;
    // null, with `error`, when there is no such folder or its file above is
    // not one of such lines.
    [[nodiscard]] static std::optional<AddedCopy> ofBundle(const std::string &path,
                                                           std::string &error);

    // Its block of the verbose listing, in the sample's shape, tagged "+" as
    // a registration is used unless elected otherwise; without the last line's end.
    [[nodiscard]] std::string block() const;
};
