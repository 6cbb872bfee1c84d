#pragma once
// The binary buffer of a glTF file with the buffer views and accessors that describe it:
// float positions with their bounds, and vertex indices, 16-bit when every index fits. A
// buffer is built from parts: each mesh's part is made on its own (on any thread) and
// appended whole, its bytes moved, not copied.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "output/JsonWriter.h"

class TGltfBinary {
public:
    // `count` XYZ triples, position(v, xyz) giving vertex v's, copied straight into the buffer:
    // a large mesh's positions are not held twice. Answers the accessor's number.
    template <class Position>
    uint32_t AddPositions(size_t count, Position&& position)
    {
        uint8_t* out = StartPositions(count);
        TAccessor& accessor = accessors_.back();
        for (size_t v = 0; v < count; ++v, out += sizeof(float[3])) {
            float xyz[3];
            position(v, xyz);
            for (int axis = 0; axis < 3; ++axis) {
                accessor.Min[axis] = v == 0 ? xyz[axis] : std::min(accessor.Min[axis], xyz[axis]);
                accessor.Max[axis] = v == 0 ? xyz[axis] : std::max(accessor.Max[axis], xyz[axis]);
            }
            std::memcpy(out, xyz, sizeof xyz);
        }
        return EndView(count * sizeof(float[3]), kArrayBufferTarget);
    }
    // Indices below vertexCount; answers the accessor's number.
    uint32_t AddIndices(const std::vector<uint32_t>& indices, size_t vertexCount);
    // Room in the current piece for a mesh of `vertices` positions and the index lists of
    // the given lengths, so that adding them neither copies the piece nor leaves it loose.
    void ReserveMesh(size_t vertices, std::initializer_list<size_t> indexCounts);
    // Appends another buffer's views and accessors after this one's; answers the number its
    // first accessor has here (its accessor k becomes that number + k).
    uint32_t Append(TGltfBinary&& part);

    bool Empty() const { return size_ == 0; }
    // The buffer's bytes: the pieces one after the other.
    const std::vector<std::vector<uint8_t>>& Pieces() const { return pieces_; }
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
    static constexpr uint32_t kArrayBufferTarget = 34962;
    // Adds the accessor of `count` positions and answers where their bytes go in the piece.
    uint8_t* StartPositions(size_t count);
    uint32_t AddView(const void* data, uint64_t length, uint32_t target);
    // Records a view over the last `length` bytes of the current piece and pads it to four.
    uint32_t EndView(uint64_t length, uint32_t target);
    std::vector<uint8_t>& Last();

    std::vector<std::vector<uint8_t>> pieces_;  // every piece's size a multiple of four
    uint64_t size_ = 0;
    std::vector<TView> views_;  // view i belongs to accessor i
    std::vector<TAccessor> accessors_;
};
