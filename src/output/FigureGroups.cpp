#include "output/FigureGroups.h"

namespace {

// The key of a Figure's (layer, colour) pair as the census counts it: a layer outside
// 0..255 as 0 and a colour outside 1..5266 as 1.
constexpr std::size_t kColorKeys = kPaletteSize + 1;
constexpr std::size_t kKeyCount = kFigLayerCount * kColorKeys;

struct TPairKey {
    std::size_t key;
    bool exact;  // the Figure's own layer and colour are in range
};

TPairKey KeyOf(const TFigurePen& pen)
{
    const bool layerInRange = pen.Layer >= 0 && pen.Layer < kFigLayerCount;
    const bool colorInRange = pen.Color >= 1 && pen.Color <= kPaletteSize;
    const std::size_t layer = layerInRange ? static_cast<std::size_t>(pen.Layer) : 0;
    const std::size_t color = colorInRange ? static_cast<std::size_t>(pen.Color) : 1;
    return {layer * kColorKeys + color, layerInRange && colorInRange};
}

}  // namespace

bool IsDrawnKind(int32_t kind) { return kind == fkLine || kind == fkTriangle || kind == fkQuad; }

bool IsGroupMember(const TFigurePen& pen) { return IsDrawnKind(pen.Kind) && KeyOf(pen).exact; }

// A counting sort by pair key straight into the member list: one pass counts every pair's
// Figures (and notes the pairs that occur), one places the exact members in store order.
TFigureGroups GroupFigures(const TFigureStore& store)
{
    const std::size_t count = store.Figures.size();
    std::vector<uint32_t> start(kKeyCount + 1, 0);
    std::vector<bool> occurs(kKeyCount, false);
    for (std::size_t i = 0; i < count; ++i) {
        const TFigurePen pen = store.Figures.PenOf(i);
        if (!IsDrawnKind(pen.Kind)) continue;
        const TPairKey k = KeyOf(pen);
        occurs[k.key] = true;
        if (k.exact) ++start[k.key + 1];
    }
    for (std::size_t b = 1; b <= kKeyCount; ++b) start[b] += start[b - 1];

    TFigureGroups result;
    result.Members.resize(start[kKeyCount]);
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        if (!occurs[key]) continue;
        result.Groups.push_back({static_cast<int32_t>(key / kColorKeys), static_cast<int32_t>(key % kColorKeys),
                                 start[key], start[key + 1]});
    }
    for (std::size_t i = 0; i < count; ++i) {
        const TFigurePen pen = store.Figures.PenOf(i);
        if (!IsDrawnKind(pen.Kind)) continue;
        if (const TPairKey k = KeyOf(pen); k.exact) result.Members[start[k.key]++] = static_cast<uint32_t>(i);
    }
    return result;
}
