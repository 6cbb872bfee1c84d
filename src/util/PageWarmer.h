#pragma once
// Faults in memory that is about to be written, on a thread of its own, so that the writer
// finds its pages ready. The first write to a fresh page makes the kernel find and clear it:
// reading a large drawing, a third of the time went to those faults while the other core had
// nothing to do. Faulting a page in does not change what it holds, so a range may be written
// while it is being warmed. Linux only (MADV_POPULATE_WRITE); elsewhere, and on kernels
// without it, nothing is warmed.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class TPageWarmer {
public:
    TPageWarmer() = default;
    TPageWarmer(const TPageWarmer&) = delete;
    TPageWarmer& operator=(const TPageWarmer&) = delete;
    // Stops at the next 2 MiB piece and waits for the thread.
    ~TPageWarmer();

    // Queues [data, data + bytes) to be faulted in, in order. A range under 2 MiB is not worth
    // a thread and is left alone. The first call that queues starts the thread; when it cannot
    // start, the memory is left as it is.
    void Warm(void* data, std::size_t bytes);

    // Asks for the room of `list` a few megabytes past its end, once its end comes near what
    // was asked before (`warmed`, in elements, 0 at first): a list filled one element after
    // another then finds its pages ready, and at most that stretch of room left unused is
    // touched.
    template <class T, class Allocator>
    void WarmAhead(const std::vector<T, Allocator>& list, std::size_t& warmed)
    {
        constexpr std::size_t kStretch = kAheadBytes / sizeof(T);
        if (list.size() + kStretch / 2 < warmed || warmed >= list.capacity()) return;
        const std::size_t until = std::min(list.capacity(), warmed + kStretch);
        Warm(const_cast<T*>(list.data()) + warmed, (until - warmed) * sizeof(T));
        warmed = until;
    }

private:
    static constexpr std::size_t kAheadBytes = std::size_t{8} << 20;
    struct TRange {
        char* Data;
        std::size_t Bytes;
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<TRange> ranges_;
    bool stopping_ = false;
    std::thread thread_;
};
