#pragma once

#include <QtGlobal>

// Large buffers that are filled as soon as they are made. Every 4 KiB page
// the system hands out costs a fault on first touch, and on a virtual
// machine the fault costs more than filling the page: a buffer of tens of
// megabytes asks for pages of 2 MiB instead, where the system has them.
//
// The advice suits a buffer made once at its full size: it splits the
// buffer's mapping, which a later reallocation then copies instead of moving.
namespace HugePages {

// Advises the system to back the `bytes` bytes from `data` with huge pages.
// Does nothing for a buffer too small to hold one, or where the system takes
// no such advice.
void advise(const void *data, qsizetype bytes);

} // namespace HugePages
