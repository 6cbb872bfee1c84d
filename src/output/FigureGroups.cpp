#include "output/FigureGroups.h"

#include "util/LargePages.h"

namespace {

// A Figure's (layer, colour) pair as the census counts it: a layer outside 0..255 as 0 and a
// colour outside 1..5266 as 1.
constexpr std::size_t kColorKeys = kPaletteSize + 1;

struct TPairKey {
    std::size_t layer, color;
    bool exact;  // the Figure's own layer and colour are in range
};

TPairKey KeyOf(const TFigurePen& pen)
{
    const bool layerInRange = pen.Layer >= 0 && pen.Layer < kFigLayerCount;
    const bool colorInRange = pen.Color >= 1 && pen.Color <= kPaletteSize;
    const std::size_t layer = layerInRange ? static_cast<std::size_t>(pen.Layer) : 0;
    const std::size_t color = colorInRange ? static_cast<std::size_t>(pen.Color) : 1;
    return {layer, color, layerInRange && colorInRange};
}

// A Figure's pair packed in 32 bits: colour (bits 0-12), layer (13-20), whether it is a
// member (21) and its point count (22-24); kNotDrawn for a Figure of another kind.
constexpr uint32_t kLayerShift = 13, kMemberBit = 1u << 21, kPointsShift = 22;
constexpr uint32_t kNotDrawn = UINT32_MAX;
static_assert(kPaletteSize < (1 << kLayerShift) && kFigLayerCount <= (1 << 8));

}  // namespace

bool IsDrawnKind(int32_t kind) { return kind == fkLine || kind == fkTriangle || kind == fkQuad; }

bool IsGroupMember(const TFigurePen& pen) { return IsDrawnKind(pen.Kind) && KeyOf(pen).exact; }

// A counting sort by pair straight into the member list. The store is read once, into packed
// pairs (it is large, and a geometry's Figures lie far apart in it); the later passes read the
// pairs. The colours that occur are numbered in ascending order, so the counts span the layers
// times the colours in use (a few thousand) rather than every pair of the palette (1.3
// million), which would cost a small drawing more than the rest of its conversion. Then one
// pass counts every pair's Figures and members' points, and one places the members in order.
TFigureGroups GroupFigures(const TFigureStore& store)
{
    const std::size_t count = store.Figures.size();
    std::vector<uint32_t> pairs;
    ReserveLarge(pairs, count);
    pairs.resize(count);
    std::vector<uint32_t> rank(kColorKeys, 0);  // colour -> its number among those in use + 1
    for (std::size_t i = 0; i < count; ++i) {
        const TFigurePen pen = store.Figures.PenOf(i);
        if (!IsDrawnKind(pen.Kind)) {
            pairs[i] = kNotDrawn;
            continue;
        }
        const TPairKey k = KeyOf(pen);
        rank[k.color] = 1;
        pairs[i] = static_cast<uint32_t>(k.color) | static_cast<uint32_t>(k.layer) << kLayerShift |
                   (k.exact ? kMemberBit : 0) | static_cast<uint32_t>(FigurePointCount(pen.Kind)) << kPointsShift;
    }
    std::vector<int32_t> colorOf;  // number -> colour
    for (std::size_t c = 0; c < kColorKeys; ++c)
        if (rank[c] != 0) {
            colorOf.push_back(static_cast<int32_t>(c));
            rank[c] = static_cast<uint32_t>(colorOf.size());
        }
    const std::size_t colors = colorOf.size(), keys = kFigLayerCount * colors;
    const auto keyOf = [&](uint32_t pair) {
        return (pair >> kLayerShift & 0xFF) * colors + rank[pair & ((1u << kLayerShift) - 1)] - 1;
    };

    std::vector<uint32_t> start(keys + 1, 0), points(keys, 0), counted(keys, 0);
    for (const uint32_t pair : pairs) {
        if (pair == kNotDrawn) continue;
        const std::size_t key = keyOf(pair);
        ++counted[key];
        if (pair & kMemberBit) {
            ++start[key + 1];
            points[key] += pair >> kPointsShift;
        }
    }
    for (std::size_t b = 1; b <= keys; ++b) start[b] += start[b - 1];

    TFigureGroups result;
    ReserveLarge(result.Members, start[keys]);
    result.Members.resize(start[keys]);
    for (std::size_t key = 0; key < keys; ++key) {
        if (counted[key] == 0) continue;
        result.Groups.push_back({static_cast<int32_t>(key / colors), colorOf[key % colors], start[key], start[key + 1],
                                 points[key], counted[key]});
    }
    for (std::size_t i = 0; i < count; ++i)
        if (pairs[i] != kNotDrawn && (pairs[i] & kMemberBit)) result.Members[start[keyOf(pairs[i])]++] = static_cast<uint32_t>(i);
    return result;
}
