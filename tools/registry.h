#pragma once

#include "addedcopy.h"
#include "registeredcopy.h"

#include <string>
#include <string_view>
#include <vector>

class StateFile;

// Every copy the stand-in knows of, in the order -A -D lists them: the
// sample's (the system's own choice of the copies in use), the further copies
// that only -A or -D list, then those added with -a; less those removed with
// -r. Each has the tag of its own election, else of its identifier's, else its
// own, and is in use or not.
//
// The copies in use of an identifier, which a listing without -A or -D shows:
// the copy elected "use" by its UUID last; without one, its copies in the
// sample (without any, its first copy), unless one of those is ignored by its
// UUID: then the first copy not tagged "-", if there is one.
class Registry
{
public:
    explicit Registry(const StateFile &state);
    Registry(const Registry &) = delete; // its copies view its own members
    Registry &operator=(const Registry &) = delete;

    [[nodiscard]] const std::vector<RegisteredCopy> &copies() const { return m_copies; }
    // Whether a listed copy lies at `path`, and whether a copy removed with -r does.
    [[nodiscard]] bool lists(std::string_view path) const;
    [[nodiscard]] bool hasRemoved(std::string_view path) const;

private:
    void elect(const StateFile &state);

    std::vector<AddedCopy> m_added;
    std::vector<std::string> m_addedBlocks;
    std::vector<RegisteredCopy> m_copies;
    std::vector<std::string_view> m_removedPaths;
};
