#include "standinoptions.h"

#include <string_view>

std::optional<StandInOptions> StandInOptions::parse(int argc, const char *const argv[])
{
    StandInOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.size() < 2 || argument[0] != '-')
            return std::nullopt;
        for (size_t at = 1; at < argument.size(); ++at) {
            std::optional<std::string> *value = nullptr;
            switch (argument[at]) {
            case 'm':
                options.match = true;
                break;
            case 'v':
                ++options.verbosity;
                break;
            case 'A':
                options.allVersions = true;
                break;
            case 'D':
                options.duplicates = true;
                break;
            case 'p':
                value = &options.point;
                break;
            case 'i':
                value = &options.identifier;
                break;
            case 'u':
                value = &options.uuid;
                break;
            case 'e':
                value = &options.election;
                break;
            case 'a':
                value = &options.added;
                break;
            case 'r':
                value = &options.removed;
                break;
            default:
                return std::nullopt;
            }
            if (!value)
                continue;
            if (at + 1 < argument.size())
                *value = std::string(argument.substr(at + 1));
            else if (++i < argc)
                *value = argv[i];
            else
                return std::nullopt;
            break;
        }
    }
    const int commands = int(options.match) + int(options.election.has_value()) +
                         int(options.added.has_value()) + int(options.removed.has_value());
    const bool listingOptions =
        options.verbosity || options.allVersions || options.duplicates || options.point;
    const bool oneTarget = options.identifier.has_value() != options.uuid.has_value();
    if (commands != 1)
        return std::nullopt;
    if (options.match)
        return options;
    if (options.election)
        return oneTarget && !listingOptions ? std::optional(options) : std::nullopt;
    const std::string &path = options.added ? *options.added : *options.removed;
    return path.empty() || listingOptions || options.identifier || options.uuid
               ? std::nullopt
               : std::optional(options);
}
