#include "util/PageWarmer.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <system_error>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 21;
constexpr std::size_t kPageBytes = 4096;

#if defined(__linux__) && !defined(__EMSCRIPTEN__) && defined(MADV_POPULATE_WRITE)
constexpr bool kCanWarm = true;

// Faults in the whole pages of [from, to); false when the kernel refuses (no such advice).
bool Populate(char* from, char* to)
{
    const auto first = (reinterpret_cast<std::uintptr_t>(from) + kPageBytes - 1) & ~(kPageBytes - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(to) & ~(kPageBytes - 1);
    if (end <= first) return true;
    return madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) == 0;
}
#else
constexpr bool kCanWarm = false;

bool Populate(char*, char*) { return false; }
#endif

}  // namespace

TPageWarmer::~TPageWarmer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void TPageWarmer::Warm(void* data, std::size_t bytes)
{
    if (!kCanWarm || bytes < kPieceBytes) return;
    {
        std::lock_guard lock(mutex_);
        ranges_.push_back({static_cast<char*>(data), bytes});
    }
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            return;  // no thread: the writer faults its pages in itself
        } catch (const std::bad_alloc&) {
            return;
        }
    }
    queued_.notify_one();
}

void TPageWarmer::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stopping_ || !ranges_.empty(); });
        if (stopping_) return;
        TRange range = ranges_.front();
        ranges_.pop_front();
        // A large page at a time, looking for a stop between pieces.
        char* const end = range.Data + range.Bytes;
        for (char* from = range.Data; from < end && !stopping_;) {
            const auto next = (reinterpret_cast<std::uintptr_t>(from) + kPieceBytes) & ~(kPieceBytes - 1);
            char* to = std::min(end, reinterpret_cast<char*>(next));
            lock.unlock();
            const bool done = Populate(from, to);
            lock.lock();
            if (!done) break;
            from = to;
        }
    }
}
