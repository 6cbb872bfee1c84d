#include "formats/jws/jwsunit.h"

#include <new>

namespace {

// Header parts that carry nothing the conversion uses; only their sizes matter.
constexpr size_t kUnusedAfterSignature = TJwsData::kVersionOffset - TJwsData::kSignature.size();  // 193
constexpr size_t kUnusedDoublesAfterVersion = 2 * 8;
constexpr size_t kUnusedInts = 6 * 4;
constexpr size_t kUnusedDoublesAtEnd = 10 * 8;

// Every group of a figure file is editable; nothing but the scale is stored in the file.
constexpr int32_t kGroupStateEditable = 2;
constexpr int kStateShown = 1;

static_assert(TJwsData::kVersionOffset + 4 + kUnusedDoublesAfterVersion == TJwsData::kGroupScalesOffset);
static_assert(TJwsData::kGroupScalesOffset + TJwsData::kLayerGroupCount * 8 + kUnusedInts + kUnusedDoublesAtEnd ==
              TJwsData::kHeaderSize);

}  // namespace

bool TJwsData::CheckSignature(const std::filesystem::path& path)
{
    std::vector<uint8_t> head;
    if (!ReadFileHead(path, kSignature.size(), head) || head.size() < kSignature.size()) return false;
    return std::string_view(reinterpret_cast<const char*>(head.data()), head.size()) == kSignature;
}

bool TJwsData::LoadFile(const std::filesystem::path& path)
{
    Reset();
    // Only regular files: a directory "opens" as a stream of unbounded size.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::vector<uint8_t> bytes;
    try {
        if (!ReadWholeFile(path, bytes)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return LoadBytes(bytes);
}

bool TJwsData::LoadBytes(const uint8_t* data, size_t size)
{
    Reset();
    layerGroups.assign(kLayerGroupCount, {});
    TByteCursor cursor(data, size);
    bool complete = false;
    try {
        ReadHeader(cursor);
        ReadEntities(cursor, version);
        complete = true;
    } catch (const TReadFailure&) {
        // The file ends early or is damaged: what was read completely stays.
    } catch (const std::bad_alloc&) {
    }
    try {
        BuildBlockTrees();
    } catch (const std::bad_alloc&) {
        blockTrees = {};
    }
    return complete;
}

void TJwsData::ReadHeader(TByteCursor& c)
{
    signature = c.Bytes(kSignature.size());
    c.Skip(kUnusedAfterSignature);
    version = c.I32();
    c.Skip(kUnusedDoublesAfterVersion);
    for (TEntJwwLayerGroup& group : layerGroups) {
        const double scale = c.F64();
        group = TEntJwwLayerGroup{};
        group.state = kGroupStateEditable;
        group.scale = scale;
    }
    c.Skip(kUnusedInts);
    c.Skip(kUnusedDoublesAtEnd);
}

void TJwsData::Reset()
{
    signature.clear();
    version = 0;
    layerGroups = {};
    ClearEntities();
}

void TJwsData::Clear() { Reset(); }

void TJwsData::LoadLayers(TgraAttribute& attributes) const
{
    attributes.ResetLayers();
    for (int i = 0; i < kLayerCount; ++i) attributes.SetLayerState(i, kStateShown);
}
