// Stand-in for macOS's extension-registry tool, for systems that lack it.
//
//   pluginkit -m -vv                                lists its sample of extensions
//   pluginkit -e use|ignore|default -i IDENTIFIER   elects an extension
//
// Elections are kept in the file that ZEPHLIST_STANDIN_STATE names, else in
// $XDG_STATE_HOME/zephlist/standin-elections (~/.local/state/...): "use" and
// "ignore" show in the listing as the tags "+" and "-"; "default" goes back to
// the sample's own tag.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

extern const unsigned char sampleListing[];
extern const std::size_t sampleListingSize;

namespace {

constexpr int usageError = 64; // EX_USAGE

using Elections = std::map<std::string, std::string>; // identifier to "use" or "ignore"

std::filesystem::path stateFile()
{
    if (const char *file = std::getenv("ZEPHLIST_STANDIN_STATE"); file && *file)
        return file;
    const char *stateHome = std::getenv("XDG_STATE_HOME");
    const char *home = std::getenv("HOME");
    const std::filesystem::path base = stateHome && *stateHome ? stateHome
                                       : home ? std::filesystem::path(home) / ".local/state"
                                              : std::filesystem::path(".");
    return base / "zephlist" / "standin-elections";
}

Elections readElections()
{
    Elections elections;
    std::ifstream in(stateFile());
    std::string identifier;
    std::string choice;
    while (std::getline(in, identifier, '\t') && std::getline(in, choice))
        elections[identifier] = choice;
    return elections;
}

bool writeElections(const Elections &elections)
{
    const std::filesystem::path file = stateFile();
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    const std::filesystem::path temporary = file.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto &[identifier, choice] : elections)
            out << identifier << '\t' << choice << '\n';
        if (!out.flush())
            return false;
    }
    std::filesystem::rename(temporary, file, error); // whole or not at all
    return !error;
}

// The identifier in a block's header line, "+    com.example.Widget(1.2)".
std::string_view identifierOf(std::string_view header)
{
    const size_t open = header.rfind('(');
    if (header.size() < 2 || open == std::string_view::npos)
        return {};
    std::string_view identifier = header.substr(1, open - 1);
    identifier.remove_prefix(std::min(identifier.find_first_not_of(" \t"), identifier.size()));
    return identifier;
}

// Calls `visit` with each line of the sample and whether it opens a block.
template<typename Visit> void forEachLine(Visit visit)
{
    const std::string_view sample(reinterpret_cast<const char *>(sampleListing), sampleListingSize);
    bool opensBlock = true;
    for (size_t start = 0; start < sample.size();) {
        const size_t end = std::min(sample.find('\n', start), sample.size());
        const std::string_view line = sample.substr(start, end - start);
        visit(line, opensBlock && !line.empty());
        opensBlock = line.empty();
        start = end + 1;
    }
}

int list()
{
    const Elections elections = readElections();
    std::string listing;
    listing.reserve(sampleListingSize);
    forEachLine([&](std::string_view line, bool isHeader) {
        std::string text(line);
        if (isHeader) {
            const auto elected = elections.find(std::string(identifierOf(line)));
            if (elected != elections.end())
                text[0] = elected->second == "use" ? '+' : '-';
        }
        listing += text;
        listing += '\n';
    });
    const bool written = std::fwrite(listing.data(), 1, listing.size(), stdout) == listing.size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

int elect(const std::string &choice, const std::string &identifier)
{
    if (choice != "use" && choice != "ignore" && choice != "default")
        return usageError;
    std::set<std::string, std::less<>> known;
    forEachLine([&](std::string_view line, bool isHeader) {
        if (isHeader)
            known.emplace(identifierOf(line));
    });
    if (!known.count(identifier)) {
        std::fprintf(stderr, "pluginkit: no plug-in with identifier %s\n", identifier.c_str());
        return 1;
    }
    Elections elections = readElections();
    if (choice == "default")
        elections.erase(identifier);
    else
        elections[identifier] = choice;
    if (!writeElections(elections)) {
        std::fprintf(stderr, "pluginkit: cannot write %s\n", stateFile().c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const auto is = [&](int i, std::string_view text) { return argc > i && argv[i] == text; };
    if (argc == 3 && is(1, "-m") && is(2, "-vv"))
        return list();
    if (argc == 5 && is(1, "-e") && is(3, "-i")) {
        if (const int status = elect(argv[2], argv[4]); status != usageError)
            return status;
    }
    std::fputs("usage: pluginkit -m -vv\n"
               "       pluginkit -e use|ignore|default -i IDENTIFIER\n"
               "(this stand-in lists its sample and keeps elections for it)\n",
               stderr);
    return usageError;
}
