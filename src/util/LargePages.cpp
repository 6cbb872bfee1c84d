#include "util/LargePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>

#include <filesystem>
#include <fstream>
#include <string>
#endif

#if defined(__linux__)
namespace {

// Whether a memory balloon reports free memory to the host (virtio's free page reporting,
// feature bit 5). It reports free blocks of the large pages' size, and the host takes them
// back, so that a fresh large page waits for the host to supply and clear it again: on such
// a machine a large drawing's walk spent four fifths of its time in those faults, while
// ordinary pages, taken from memory the system just used, came ten times faster.
bool HostTakesFreeLargePages()
{
    std::error_code error;
    const std::filesystem::path drivers = "/sys/bus/virtio/drivers/virtio_balloon";
    for (std::filesystem::directory_iterator it(drivers, error), end; !error && it != end; it.increment(error)) {
        std::ifstream features(it->path() / "features");
        std::string bits;
        if (features >> bits && bits.size() > 5 && bits[5] == '1') return true;
    }
    return false;
}

}  // namespace
#endif

void AdviseLargePages(const void* data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    static const bool worthIt = !HostTakesFreeLargePages();
    if (!worthIt) return;
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
