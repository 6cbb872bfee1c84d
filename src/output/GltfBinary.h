#pragma once
// The binary buffer of a glTF file with the buffer views and accessors that describe it:
// float positions with their bounds, and vertex indices, 16-bit when every index fits.
#include <cstdint>
#include <vector>

#include "output/JsonWriter.h"

class TGltfBinary {
public:
    // XYZ triples; answers the accessor's number.
    uint32_t AddPositions(const std::vector<float>& xyz);
    // Indices below vertexCount; answers the accessor's number.
    uint32_t AddIndices(const std::vector<uint32_t>& indices, size_t vertexCount);

    bool Empty() const { return bytes_.empty(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    // "buffers", "bufferViews" and "accessors", as keys of the open object.
    void WriteJson(TJsonWriter& json) const;

private:
    struct TView {
        uint64_t Offset, Length;
        uint32_t Target;
    };
    struct TAccessor {
        uint32_t ComponentType;
        uint64_t Count;
        bool Vector;  // VEC3 with bounds, else SCALAR
        float Min[3], Max[3];
    };
    uint32_t AddView(const void* data, uint64_t length, uint32_t target);

    std::vector<uint8_t> bytes_;
    std::vector<TView> views_;         // view i belongs to accessor i
    std::vector<TAccessor> accessors_;
};
