#pragma once
// A bounds-checked little-endian reader over a file held in memory. Every read past the
// end throws TReadFailure, before the position moves; readers catch it, keep what they
// completed and report the position where reading stopped.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct TReadFailure : std::runtime_error {
    TReadFailure() : std::runtime_error("read past the end of the file") {}
};

class TByteCursor {
public:
    TByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit TByteCursor(const std::vector<uint8_t>& bytes) : TByteCursor(bytes.data(), bytes.size()) {}
    explicit TByteCursor(std::span<const std::byte> bytes)
        : TByteCursor(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())
    {
    }

    size_t Position() const { return pos_; }
    size_t Size() const { return size_; }
    size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ >= size_; }

    // Moves to an absolute offset; past the end is a read failure.
    void Seek(size_t offset)
    {
        if (offset > size_) throw TReadFailure();
        pos_ = offset;
    }
    void Skip(size_t count) { Need(count); pos_ += count; }

    uint8_t U8() { Need(1); return data_[pos_++]; }
    int8_t I8() { return static_cast<int8_t>(U8()); }
    uint16_t U16() { return Little<uint16_t>(); }
    int16_t I16() { return static_cast<int16_t>(U16()); }
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
    const uint8_t* Here() const { return data_ + pos_; }

private:
    void Need(size_t count) const
    {
        if (count > size_ - pos_) throw TReadFailure();
    }
    template <typename T> T Little()
    {
        Need(sizeof(T));
        T v = 0;
        for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<T>(data_[pos_ + i]) << (8 * i);
        pos_ += sizeof(T);
        return v;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Reads each target in the order given, in the little-endian form of its own type.
template <typename... Fields> void ReadFields(TByteCursor& cursor, Fields&... targets)
{
    ((targets = cursor.Read<Fields>()), ...);
}
