#include "util/LargePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void AdviseLargePages(const void* data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kLargePageBytes - 1) & ~(kLargePageBytes - 1);
    const std::uintptr_t end = (start + bytes) & ~(kLargePageBytes - 1);
    // A refusal (a kernel built without huge pages) leaves the memory as it was: no error.
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}
