#pragma once
// A bounds-checked little-endian reader over bytes held in memory, or over a file read through
// a window of its own (so a large file is never held whole). Every read past the end throws
// TReadFailure, before the position moves; readers catch it, keep what they completed and
// report the position where reading stopped.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct TReadFailure : std::runtime_error {
    TReadFailure() : std::runtime_error("read past the end of the file") {}
};

// Where a cursor over a file gets its bytes: fills `into` with up to `count` of the next bytes
// and answers how many it gave (0 at the end of the file or on a read error).
using TByteSource = std::function<size_t(uint8_t* into, size_t count)>;

class TByteCursor {
public:
    TByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size), total_(size) {}
    explicit TByteCursor(const std::vector<uint8_t>& bytes) : TByteCursor(bytes.data(), bytes.size()) {}
    explicit TByteCursor(std::span<const std::byte> bytes)
        : TByteCursor(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())
    {
    }

    // Reads the `size` bytes of a file from `source`, `window` bytes at a time (more only for
    // a single read larger than that). Fewer bytes than `size` end it early.
    static constexpr size_t kWindow = size_t{1} << 20;
    TByteCursor(TByteSource source, size_t size, size_t window = kWindow)
        : data_(nullptr), size_(0), total_(size), source_(std::move(source)), windowSize_(std::max<size_t>(window, 1))
    {
    }

    size_t Position() const { return base_ + pos_; }
    size_t Size() const { return total_; }
    size_t Remaining() const { return total_ - Position(); }
    bool AtEnd() const { return Position() >= total_; }

    void Skip(size_t count) { Need(count); pos_ += count; }
    // True when the next bytes are `text`; moves nothing.
    bool StartsWith(std::string_view text)
    {
        return Fetch(text.size()) && std::memcmp(data_ + pos_, text.data(), text.size()) == 0;
    }

    // The next `count` bytes, held in memory, or null when fewer are left; moves nothing. A
    // reader decodes a fixed-size record from them (TRawFields) and then skips it, without a
    // check per field.
    const uint8_t* Peek(size_t count) { return Fetch(count) ? data_ + pos_ : nullptr; }

    uint8_t U8() { Need(1); return data_[pos_++]; }
    uint16_t U16() { return Little<uint16_t>(); }
    uint32_t U32() { return Little<uint32_t>(); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32() { uint32_t u = U32(); float f; std::memcpy(&f, &u, 4); return f; }
    double F64() { uint64_t u = Little<uint64_t>(); double d; std::memcpy(&d, &u, 8); return d; }

    // A value of type T (an 8-, 16-, 32- or 64-bit integer, float or double).
    template <typename T> T Read()
    {
        if constexpr (std::is_same_v<T, float>) return F32();
        else if constexpr (std::is_same_v<T, double>) return F64();
        else return static_cast<T>(Little<std::make_unsigned_t<T>>());
    }

    // `count` raw bytes as a byte string.
    std::string Bytes(size_t count)
    {
        Need(count);
        std::string s(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return s;
    }

private:
    void Need(size_t count)
    {
        if (count > size_ - pos_ && !Fetch(count)) throw TReadFailure();
    }
    // True when `count` bytes lie ahead in memory, after refilling the window from the source
    // when there is one: the bytes not yet read move to its start, and as many as fit follow.
    bool Fetch(size_t count)
    {
        if (count <= size_ - pos_) return true;
        if (!source_ || count > Remaining()) return false;
        const size_t unread = size_ - pos_;
        if (capacity_ < count || !window_) {
            const size_t capacity = std::max(count, std::min(windowSize_, total_));
            std::unique_ptr<uint8_t[]> bigger = std::make_unique_for_overwrite<uint8_t[]>(capacity);
            if (unread > 0) std::memcpy(bigger.get(), data_ + pos_, unread);
            window_ = std::move(bigger);
            capacity_ = capacity;
        } else if (unread > 0) {
            std::memmove(window_.get(), data_ + pos_, unread);
        }
        base_ += pos_;
        pos_ = 0;
        size_ = unread;
        data_ = window_.get();
        const size_t wanted = std::min(capacity_, total_ - base_);
        while (size_ < wanted) {
            const size_t got = source_(window_.get() + size_, wanted - size_);
            if (got == 0) break;
            size_ += got;
        }
        return count <= size_;
    }
    template <typename T> T Little()
    {
        Need(sizeof(T));
        T v = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&v, data_ + pos_, sizeof(T));  // one load, where GCC leaves the loop's bytes unmerged
        } else {
            for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<T>(data_[pos_ + i]) << (8 * i);
        }
        pos_ += sizeof(T);
        return v;
    }

    const uint8_t* data_;
    size_t size_;      // bytes in memory at data_
    size_t pos_ = 0;   // of the next byte, from data_
    size_t base_ = 0;  // the file offset of data_
    size_t total_;     // of the whole file
    TByteSource source_;
    size_t windowSize_ = kWindow;
    std::unique_ptr<uint8_t[]> window_;
    size_t capacity_ = 0;
};

// Little-endian fields read from bytes known to be there (TByteCursor::Peek), with Read as
// the cursor's. Only where the host is little-endian (kWork); elsewhere readers go
// through the cursor.
class TRawFields {
public:
    static constexpr bool kWork = std::endian::native == std::endian::little;
    explicit TRawFields(const uint8_t* bytes) : p_(bytes) {}
    template <typename T> T Read()
    {
        T v;
        std::memcpy(&v, p_, sizeof v);
        p_ += sizeof v;
        return v;
    }

private:
    const uint8_t* p_;
};

// Reads each target in the order given, in the little-endian form of its own type, from a
// cursor or from raw fields.
template <class Source, typename... Fields> void ReadFields(Source& source, Fields&... targets)
{
    ((targets = source.template Read<Fields>()), ...);
}
