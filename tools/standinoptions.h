#pragma once

#include <optional>
#include <string>

// The stand-in's command line, in the real tool's spellings: flags alone or
// combined ("-mAvv"), a value joined to its option or as the next argument.
struct StandInOptions
{
    bool match = false;                    // -m: list
    int verbosity = 0;                     // one per -v
    bool allVersions = false;              // -A
    bool duplicates = false;               // -D
    std::optional<std::string> point;      // -p: only plug-ins of this SDK
    std::optional<std::string> identifier; // -i
    std::optional<std::string> uuid;       // -u: one registered copy
    std::optional<std::string> election;   // -e use|ignore|default, with -i or -u
    std::optional<std::string> added;      // -a PATH: register the bundle at PATH
    std::optional<std::string> removed;    // -r PATH: remove the copies at PATH

    // Null when the arguments are not one listing, election, -a or -r.
    [[nodiscard]] static std::optional<StandInOptions> parse(int argc, const char *const argv[]);
};
