#include "registry.h"

#include "statefile.h"

#include <algorithm>
#include <map>

extern const unsigned char sampleListing[];
extern const std::size_t sampleListingSize;
extern const unsigned char furtherCopies[];
extern const std::size_t furtherCopiesSize;

namespace {

std::string_view text(const unsigned char *bytes, std::size_t size)
{
    return {reinterpret_cast<const char *>(bytes), size};
}

// Its fields are taken as they are, not read back from `block`: a path may
// hold a line end.
RegisteredCopy registered(const AddedCopy &added, std::string_view block)
{
    RegisteredCopy copy;
    const size_t headerEnd = block.find('\n');
    copy.header = block.substr(0, headerEnd);
    copy.body = block.substr(headerEnd + 1);
    copy.tag = block[0];
    copy.identifier = added.identifier;
    copy.version = added.version;
    copy.uuid = added.uuid;
    copy.timestamp = added.timestamp;
    copy.point = added.point;
    copy.path = added.path;
    return copy;
}

} // namespace

Registry::Registry(const StateFile &state)
    : m_added(state.addedCopies())
{
    std::vector<RegisteredCopy> copies = readCopies(text(sampleListing, sampleListingSize), true);
    const std::vector<RegisteredCopy> further =
        readCopies(text(furtherCopies, furtherCopiesSize), false);
    copies.insert(copies.end(), further.begin(), further.end());
    m_addedBlocks.reserve(m_added.size()); // the copies view the blocks where they lie
    for (const AddedCopy &added : m_added)
        copies.push_back(registered(added, m_addedBlocks.emplace_back(added.block())));
    for (const RegisteredCopy &copy : copies) {
        if (state.isRemoved(copy.path))
            m_removedPaths.push_back(copy.path);
        else
            m_copies.push_back(copy);
    }
    elect(state);
}

bool Registry::lists(std::string_view path) const
{
    return std::any_of(m_copies.begin(), m_copies.end(),
                       [&](const RegisteredCopy &copy) { return copy.path == path; });
}

bool Registry::hasRemoved(std::string_view path) const
{
    return std::find(m_removedPaths.begin(), m_removedPaths.end(), path) != m_removedPaths.end();
}

void Registry::elect(const StateFile &state)
{
    const std::vector<StateFile::Election> &elections = state.elections();
    // Per copy: how late its own election "use" came, if it has one; whether its own is "ignore".
    std::vector<std::ptrdiff_t> usedFrom(m_copies.size(), -1);
    std::vector<bool> ignored(m_copies.size(), false);
    std::map<std::string_view, std::vector<size_t>> byIdentifier;
    for (size_t i = 0; i < m_copies.size(); ++i) {
        RegisteredCopy &copy = m_copies[i];
        const StateFile::Election *own = state.election(StateFile::uuidKey(copy.uuid));
        const StateFile::Election *decisive = own ? own : state.election(copy.identifier);
        if (decisive)
            copy.tag = decisive->choice == "use" ? '+' : '-';
        if (own && own->choice == "use")
            usedFrom[i] = own - elections.data();
        ignored[i] = own && own->choice == "ignore";
        byIdentifier[copy.identifier].push_back(i);
    }
    for (const auto &[identifier, group] : byIdentifier) {
        const auto latest = std::max_element(group.begin(), group.end(), [&](size_t a, size_t b) {
            return usedFrom[a] < usedFrom[b];
        });
        if (usedFrom[*latest] >= 0) {
            m_copies[*latest].inUse = true;
            continue;
        }
        std::vector<size_t> chosen;
        std::copy_if(group.begin(), group.end(), std::back_inserter(chosen),
                     [&](size_t i) { return m_copies[i].sampled; });
        if (chosen.empty())
            chosen.push_back(group.front());
        const auto notIgnored = std::find_if(group.begin(), group.end(),
                                             [&](size_t i) { return m_copies[i].tag != '-'; });
        if (std::any_of(chosen.begin(), chosen.end(), [&](size_t i) { return ignored[i]; }) &&
            notIgnored != group.end())
            chosen = {*notIgnored};
        for (const size_t i : chosen)
            m_copies[i].inUse = true;
    }
}
