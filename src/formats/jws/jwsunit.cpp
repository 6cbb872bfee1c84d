#include "formats/jws/jwsunit.h"

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

bool TJwsData::CheckSignature(const std::filesystem::path& path) { return FileStartsWith(path, kSignature); }

bool TJwsData::LoadFile(const std::filesystem::path& path)
{
    Reset();
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return false;  // folders and unreadable files included
    return LoadBytes(bytes);
}

bool TJwsData::LoadBytes(const uint8_t* data, size_t size)
{
    Reset();
    layerGroups.assign(kLayerGroupCount, {});
    TByteCursor cursor(data, size);
    return LoadStream(cursor, [this](TByteCursor& c) -> std::optional<int32_t> {
        ReadHeader(c);
        return version;
    });
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
