// Stand-in for macOS's extension-registry tool, for systems that lack it.
//
//   pluginkit -m [-v|-vv|-vvv] [-A] [-D] [-p SDK] [-i IDENTIFIER] [-u UUID]
//   pluginkit -e use|ignore|default -i IDENTIFIER
//   pluginkit -e use|ignore|default -u UUID
//   pluginkit -a PATH
//   pluginkit -r PATH
//
// It lists its sample of extensions: a line each, with -v also the UUID,
// timestamp and path; with -vv or -vvv in blocks, then an empty line and the
// count, " (12 plug-ins)" or " (1 plug-in)", as the real tool does.
// -A adds the older versions it knows of (the last-registered copy of each),
// -D every further copy of the versions it lists; -p, -i and -u keep only the
// plug-ins of that SDK, identifier or UUID, and "(no matches)" alone says that
// none is left.
//
// What changes it is kept in the file that ZEPHLIST_STANDIN_STATE names, else
// in $XDG_STATE_HOME/zephlist/standin-elections (~/.local/state/...); when
// that is a symbolic link, in the file it leads to (the lines: statefile.h).
// Changes made at the same time take turns through a lock file beside it.
//
// Elections: "use" and "ignore" show as the tags "+" and "-", on every copy of
// the identifier, or with -u on that copy only; "default" goes back to the
// sample's own tag. -e use -u also makes that copy the one in use, the one a
// listing without -A or -D shows for its identifier; -e ignore -u of a copy in
// use hands that over to the identifier's first copy that is not ignored, if
// there is one (registry.h says which copies are in use). With
// ZEPHLIST_STANDIN_IGNORE_ELECTIONS=1 an election of a known plug-in succeeds,
// silently, and changes nothing, as a system that did not keep it would: tests
// use it to see that a lost election is noticed.
//
// -r leaves the copies at PATH out of every listing from then on; a path that
// it lists none at is "remove: no plugin at PATH" on standard error and status
// 1, as with the real tool. -a brings back the copies removed from PATH, or
// registers the bundle folder at PATH as a further copy of its identifier,
// with a fresh UUID and the current time (addedcopy.h says what it reads of
// the folder); a path that is neither is "add: no bundle at PATH: REASON",
// status 1. -a of a path listed already changes nothing. A relative PATH is
// taken from the working folder; paths are compared, and named in messages,
// made absolute and without "." or "..", not through symbolic links.
//
// ZEPHLIST_STANDIN_FAULT makes every listing fail as pluginkit does on some
// Macs, with status 0: "connection-invalid" lists nothing and prints the line
// "match: Connection invalid" on standard error, as the real tool does when it
// runs outside the user's graphical session; "silent" prints nothing at all.

#include "registry.h"
#include "standinoptions.h"
#include "statefile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int usageError = 64;      // EX_USAGE
constexpr int countedVerbosity = 2; // from -vv on, the listing ends with its count

std::string_view environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::filesystem::path stateFile()
{
    if (const std::string_view file = environment("ZEPHLIST_STANDIN_STATE"); !file.empty())
        return file;
    const std::string_view stateHome = environment("XDG_STATE_HOME");
    const char *home = std::getenv("HOME");
    const std::filesystem::path base = !stateHome.empty() ? std::filesystem::path(stateHome)
                                       : home ? std::filesystem::path(home) / ".local/state"
                                              : std::filesystem::path(".");
    return base / "zephlist" / "standin-elections";
}

int stateError(const StateFile &state)
{
    std::fprintf(stderr, "pluginkit: %s\n", state.error().c_str());
    return 1;
}

bool sameUuid(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

bool sameVersion(const RegisteredCopy &a, const RegisteredCopy &b)
{
    return a.identifier == b.identifier && a.version == b.version;
}

// Without -A a plug-in is listed in the versions in use only, without -D in
// one copy of each version: the one in use, else the last registered.
bool listed(const RegisteredCopy &copy, const std::vector<RegisteredCopy> &copies,
            const StandInOptions &options)
{
    if (copy.inUse)
        return true;
    const auto versionInUse = [&](const RegisteredCopy &other) {
        return other.inUse && sameVersion(other, copy);
    };
    const bool inUse = std::any_of(copies.begin(), copies.end(), versionInUse);
    if (!(inUse || options.allVersions))
        return false;
    if (options.duplicates)
        return true;
    const auto later = [&](const RegisteredCopy &other) {
        return sameVersion(other, copy) && other.timestamp > copy.timestamp;
    };
    return !inUse && std::none_of(copies.begin(), copies.end(), later);
}

bool matches(const RegisteredCopy &copy, const StandInOptions &options)
{
    return (!options.point || copy.point == *options.point) &&
           (!options.identifier || copy.identifier == *options.identifier) &&
           (!options.uuid || sameUuid(copy.uuid, *options.uuid));
}

// A listing fails as ZEPHLIST_STANDIN_FAULT asks: the exit status, or null to list.
std::optional<int> fault()
{
    const std::string_view fault = environment("ZEPHLIST_STANDIN_FAULT");
    if (fault == "connection-invalid")
        std::fputs("match: Connection invalid\n", stderr);
    if (fault == "connection-invalid" || fault == "silent")
        return 0;
    if (fault.empty())
        return std::nullopt;
    std::fprintf(stderr,
                 "pluginkit: ZEPHLIST_STANDIN_FAULT is connection-invalid or silent, not %s\n",
                 std::string(fault).c_str());
    return 1;
}

int list(const StandInOptions &options)
{
    if (const std::optional<int> status = fault())
        return *status;
    StateFile state(stateFile());
    if (!state.read())
        return stateError(state);
    const Registry registry(state);
    const std::vector<RegisteredCopy> &copies = registry.copies();
    std::string listing;
    size_t count = 0;
    for (const RegisteredCopy &copy : copies) {
        if (!matches(copy, options) || !listed(copy, copies, options))
            continue;
        if (options.verbosity >= 2) {
            if (count > 0)
                listing += '\n'; // blocks are apart by an empty line
            listing += copy.block();
        } else {
            listing += copy.line(options.verbosity == 1);
        }
        ++count;
    }
    if (count == 0)
        listing = "(no matches)\n";
    else if (options.verbosity >= countedVerbosity)
        listing += "\n (" + std::to_string(count) + (count == 1 ? " plug-in)\n" : " plug-ins)\n");
    const bool written = std::fwrite(listing.data(), 1, listing.size(), stdout) == listing.size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

// Changes the state and returns the exit status, or prints why it refuses and
// returns that status. The change is made first on the state as it is, so
// that one refused leaves nothing behind, not even the lock; then, if it is to
// be kept, again under the lock on the state as it is by then, and saved.
using Change = std::function<int(const Registry &, StateFile &)>;

int changeState(const Change &change, bool keep = true)
{
    StateFile state(stateFile());
    if (!state.read())
        return stateError(state);
    if (const int refused = change(Registry(state), state); refused != 0 || !keep)
        return refused;
    if (!state.lockForChange())
        return stateError(state);
    if (const int refused = change(Registry(state), state); refused != 0)
        return refused;
    return state.save() ? 0 : stateError(state);
}

int elect(const StandInOptions &options)
{
    const std::string &choice = *options.election;
    if (choice != "use" && choice != "ignore" && choice != "default")
        return usageError;
    const bool keep = environment("ZEPHLIST_STANDIN_IGNORE_ELECTIONS") != "1";
    return changeState(
        [&](const Registry &registry, StateFile &state) {
            const std::vector<RegisteredCopy> &copies = registry.copies();
            const auto named =
                std::find_if(copies.begin(), copies.end(), [&](const RegisteredCopy &copy) {
                    return options.uuid ? sameUuid(copy.uuid, *options.uuid)
                                        : copy.identifier == *options.identifier;
                });
            if (named == copies.end()) {
                std::fprintf(stderr, "pluginkit: no plug-in with %s %s\n",
                             options.uuid ? "UUID" : "identifier",
                             (options.uuid ? *options.uuid : *options.identifier).c_str());
                return 1;
            }
            state.elect(options.uuid ? StateFile::uuidKey(named->uuid)
                                     : std::string(named->identifier),
                        choice);
            return 0;
        },
        keep);
}

// Absolute, without "." or ".." or a last "/"; as it is if there is no
// working folder to start from, when it names nothing either.
std::string absolutePath(const std::string &path)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error).lexically_normal();
    if (error)
        return path;
    if (!absolute.has_filename() && absolute.has_relative_path())
        absolute = absolute.parent_path();
    return absolute.string();
}

int add(const std::string &argument)
{
    const std::string path = absolutePath(argument);
    return changeState([&](const Registry &registry, StateFile &state) {
        if (registry.lists(path) || registry.hasRemoved(path)) {
            state.setRemoved(path, false); // back, or there already
            return 0;
        }
        std::string error;
        std::optional<AddedCopy> copy = AddedCopy::ofBundle(path, error);
        if (!copy) {
            std::fprintf(stderr, "add: %s\n", error.c_str());
            return 1;
        }
        state.add(std::move(*copy));
        return 0;
    });
}

int remove(const std::string &argument)
{
    const std::string path = absolutePath(argument);
    return changeState([&](const Registry &registry, StateFile &state) {
        if (!registry.lists(path)) {
            std::fprintf(stderr, "remove: no plugin at %s\n", path.c_str());
            return 1;
        }
        state.setRemoved(path, true);
        return 0;
    });
}

int run(const StandInOptions &options)
{
    if (options.election)
        return elect(options);
    if (options.added)
        return add(*options.added);
    if (options.removed)
        return remove(*options.removed);
    return list(options);
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<StandInOptions> options = StandInOptions::parse(argc, argv)) {
        const int status = run(*options);
        if (status != usageError)
            return status;
    }
    std::fputs("usage: pluginkit -m [-v|-vv|-vvv] [-A] [-D] [-p SDK] [-i IDENTIFIER] [-u UUID]\n"
               "       pluginkit -e use|ignore|default -i IDENTIFIER\n"
               "       pluginkit -e use|ignore|default -u UUID\n"
               "       pluginkit -a PATH\n"
               "       pluginkit -r PATH\n"
               "(this stand-in lists its sample and keeps elections and registrations for it)\n",
               stderr);
    return usageError;
}
