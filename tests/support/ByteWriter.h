#pragma once
// Little-endian byte appender shared by the fixture writers of every input format.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class TByteWriter {
public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) { U8(static_cast<uint8_t>(v)); U8(static_cast<uint8_t>(v >> 8)); }
    void U32(uint32_t v) { U16(static_cast<uint16_t>(v)); U16(static_cast<uint16_t>(v >> 16)); }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) { uint32_t u; std::memcpy(&u, &v, 4); U32(u); }
    void F64(double v)
    {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        U32(static_cast<uint32_t>(u));
        U32(static_cast<uint32_t>(u >> 32));
    }
    void Raw(std::string_view data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void Raw(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void Zeros(size_t count) { bytes.insert(bytes.end(), count, 0); }
    // `s` in a zero-padded field of `size` bytes (cut when longer).
    void Field(std::string_view s, size_t size)
    {
        s = s.substr(0, size);
        Raw(s);
        Zeros(size - s.size());
    }

    std::vector<uint8_t> bytes;
};
