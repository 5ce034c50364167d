#include "hugepages.h"

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

#include <cstdint>

namespace HugePages {

void advise(const void *data, qsizetype bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    // Only the huge pages wholly inside the buffer: the advice never reaches
    // a neighbour's memory.
    constexpr uintptr_t hugePage = 2 * 1024 * 1024;
    const uintptr_t begin = (uintptr_t(data) + hugePage - 1) & ~(hugePage - 1);
    const uintptr_t end = (uintptr_t(data) + uintptr_t(bytes)) & ~(hugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE); // advice only
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

} // namespace HugePages
