#include "formats/jws/jwsunit.h"

#include "util/DrawingFacts.h"

namespace {

// Header layout: the offsets of its fields and where the entity stream begins.
constexpr size_t kVersionOffset = 200;
constexpr size_t kGroupScalesOffset = 220;
constexpr size_t kHeaderSize = 452;

// Header parts that carry nothing the conversion uses; only their sizes matter.
constexpr size_t kUnusedAfterSignature = kVersionOffset - TJwsData::kSignature.size();  // 193
constexpr size_t kUnusedDoublesAfterVersion = 2 * 8;
constexpr size_t kUnusedInts = 6 * 4;
constexpr size_t kUnusedDoublesAtEnd = 10 * 8;

// Every group of a figure file is editable; nothing but the scale is stored in the file.
constexpr int32_t kGroupStateEditable = 2;

static_assert(kVersionOffset + 4 + kUnusedDoublesAfterVersion == kGroupScalesOffset);
static_assert(kGroupScalesOffset + jw::kLayerGroupCount * 8 + kUnusedInts + kUnusedDoublesAtEnd == kHeaderSize);

}  // namespace

TReadResult TJwsData::LoadFrom(TByteCursor& cursor)
{
    Clear();
    layerGroups.assign(jw::kLayerGroupCount, {});
    return LoadStream(cursor, kSignature, [this](TByteCursor& c) -> std::optional<int32_t> {
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
