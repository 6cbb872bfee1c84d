#include "output/GltfBinary.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kElementArrayBuffer = 34963;
constexpr uint32_t kUnsignedShort = 5123, kUnsignedInt = 5125, kFloat = 5126;
// 65535 is the primitive restart value, which a 16-bit index must not take.
constexpr size_t kMaxShortVertices = 65535;

size_t PaddedToFour(size_t bytes) { return (bytes + 3) / 4 * 4; }
size_t IndexBytes(size_t vertexCount) { return vertexCount <= kMaxShortVertices ? sizeof(uint16_t) : sizeof(uint32_t); }

}  // namespace

std::vector<uint8_t>& TGltfBinary::Last()
{
    if (pieces_.empty()) pieces_.emplace_back();
    return pieces_.back();
}

void TGltfBinary::ReserveMesh(size_t vertices, std::initializer_list<size_t> indexCounts)
{
    size_t bytes = vertices * 3 * sizeof(float);
    for (const size_t count : indexCounts) bytes += PaddedToFour(count * IndexBytes(vertices));
    std::vector<uint8_t>& piece = Last();
    piece.reserve(piece.size() + bytes);
}

uint32_t TGltfBinary::AddView(const void* data, uint64_t length, uint32_t target)
{
    std::vector<uint8_t>& bytes = Last();
    const uint8_t* begin = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), begin, begin + length);
    return EndView(length, target);
}

uint32_t TGltfBinary::EndView(uint64_t length, uint32_t target)
{
    std::vector<uint8_t>& bytes = Last();
    views_.push_back({size_, length, target});
    bytes.resize(PaddedToFour(bytes.size()), 0);
    size_ += PaddedToFour(length);
    return static_cast<uint32_t>(views_.size() - 1);
}

uint32_t TGltfBinary::Append(TGltfBinary&& part)
{
    const auto first = static_cast<uint32_t>(accessors_.size());
    for (const TView& view : part.views_) views_.push_back({size_ + view.Offset, view.Length, view.Target});
    accessors_.insert(accessors_.end(), part.accessors_.begin(), part.accessors_.end());
    for (std::vector<uint8_t>& piece : part.pieces_) {
        size_ += piece.size();
        pieces_.push_back(std::move(piece));
    }
    pieces_.emplace_back();  // what is added here next starts a piece of its own
    return first;
}

uint8_t* TGltfBinary::StartPositions(size_t count)
{
    accessors_.push_back({kFloat, count, true, {0, 0, 0}, {0, 0, 0}});
    std::vector<uint8_t>& bytes = Last();
    const size_t start = bytes.size();
    bytes.resize(start + count * 3 * sizeof(float));
    return bytes.data() + start;
}

uint32_t TGltfBinary::AddIndices(const std::vector<uint32_t>& indices, size_t vertexCount)
{
    const bool narrow = IndexBytes(vertexCount) == sizeof(uint16_t);
    accessors_.push_back({narrow ? kUnsignedShort : kUnsignedInt, indices.size(), false, {}, {}});
    if (!narrow) return AddView(indices.data(), indices.size() * sizeof(uint32_t), kElementArrayBuffer);
    const std::vector<uint16_t> shorts(indices.begin(), indices.end());
    return AddView(shorts.data(), shorts.size() * sizeof(uint16_t), kElementArrayBuffer);
}

void TGltfBinary::WriteJson(TJsonWriter& json) const
{
    if (size_ == 0) return;
    json.Key("buffers").Begin('[').Begin('{').Key("byteLength").Integer(static_cast<int64_t>(size_));
    json.End().End();
    json.Key("bufferViews").Begin('[');
    for (const TView& view : views_) {
        json.Begin('{').Key("buffer").Integer(0).Key("byteOffset").Integer(static_cast<int64_t>(view.Offset));
        json.Key("byteLength").Integer(static_cast<int64_t>(view.Length)).Key("target").Integer(view.Target).End();
    }
    json.End();
    json.Key("accessors").Begin('[');
    for (size_t i = 0; i < accessors_.size(); ++i) {
        const TAccessor& a = accessors_[i];
        json.Begin('{').Key("bufferView").Integer(static_cast<int64_t>(i)).Key("componentType").Integer(a.ComponentType);
        json.Key("count").Integer(static_cast<int64_t>(a.Count)).Key("type").String(a.Vector ? "VEC3" : "SCALAR");
        if (a.Vector) {
            json.Key("min").Begin('[').Number(a.Min[0]).Number(a.Min[1]).Number(a.Min[2]).End();
            json.Key("max").Begin('[').Number(a.Max[0]).Number(a.Max[1]).Number(a.Max[2]).End();
        }
        json.End();
    }
    json.End();
}
