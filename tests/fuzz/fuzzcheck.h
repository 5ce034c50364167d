#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with a crash, so that it keeps the input, when a property
// that must hold for every input does not.
inline void require(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "Broken: %s\n", property);
        std::abort();
    }
}
