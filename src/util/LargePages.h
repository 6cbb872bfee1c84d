#pragma once
// Large arrays on the system's large pages (2 MiB on Linux, where the kernel offers them as
// transparent huge pages): one page fault and one page-table entry per 2 MiB instead of 512.
// For the store and the record lists of a large drawing, the 4 KiB faults were a fifth of a
// conversion's processor time. Small arrays, and other systems, get plain memory.
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

// The size of a large page; arrays of at least a few of them are worth the advice.
constexpr std::size_t kLargePageBytes = std::size_t{1} << 21;
#if defined(__linux__)
constexpr bool kLargePagesOffered = true;
#else
constexpr bool kLargePagesOffered = false;
#endif
constexpr std::size_t kLargeArrayBytes = 4 * kLargePageBytes;

// Asks for large pages over the whole large pages inside [data, data + bytes), which should
// not have been written yet. Does nothing for a smaller range, where the system has no such
// advice, or when the system refuses it.
void AdviseLargePages(const void* data, std::size_t bytes);

// Room for `count` elements in `list` (as reserve), on large pages when that room is large
// and still unwritten.
template <class T>
void ReserveLarge(std::vector<T>& list, std::size_t count)
{
    const bool fresh = list.capacity() < count;
    list.reserve(count);
    if (fresh && list.capacity() * sizeof(T) >= kLargeArrayBytes) AdviseLargePages(list.data(), list.capacity() * sizeof(T));
}

// An array of trivially constructible elements, left uninitialised, that owns its memory.
struct TLargeArrayDelete {
    std::align_val_t Alignment;
    void operator()(void* data) const noexcept { ::operator delete[](data, Alignment); }
};
template <class T>
using TLargeArray = std::unique_ptr<T[], TLargeArrayDelete>;

// `count` elements; with `largePages`, aligned to a large page and advised (see above).
// Throws std::bad_alloc when memory runs out.
template <class T>
TLargeArray<T> MakeLargeArray(std::size_t count, bool largePages)
{
    const std::size_t bytes = count * sizeof(T);
    const bool large = largePages && kLargePagesOffered && bytes >= kLargePageBytes;
    const auto alignment = std::align_val_t{large ? kLargePageBytes : alignof(std::max_align_t)};
    void* data = ::operator new[](bytes, alignment);
    if (large) AdviseLargePages(data, bytes);
    return TLargeArray<T>(static_cast<T*>(data), TLargeArrayDelete{alignment});
}
