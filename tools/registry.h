#pragma once

#include "registeredcopy.h"

#include <vector>

class StateFile;

// Every copy the stand-in knows of, in the order -A -D lists them: the
// sample's (the system's own choice of the copies in use), then the further
// copies that only -A or -D list. Each has the tag of its own election, else
// of its identifier's, else its own, and is in use or not.
//
// The copies in use of an identifier, which a listing without -A or -D shows:
// the copy elected "use" by its UUID last; without one, its copies in the
// sample (without any, its first copy), unless one of those is ignored by its
// UUID: then the first copy not tagged "-", if there is one.
class Registry
{
public:
    explicit Registry(const StateFile &state);

    [[nodiscard]] const std::vector<RegisteredCopy> &copies() const { return m_copies; }

private:
    void elect(const StateFile &state);

    std::vector<RegisteredCopy> m_copies;
};
