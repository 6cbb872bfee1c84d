#include "output/FigureGroups.h"

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

}  // namespace

bool IsDrawnKind(int32_t kind) { return kind == fkLine || kind == fkTriangle || kind == fkQuad; }

bool IsGroupMember(const TFigurePen& pen) { return IsDrawnKind(pen.Kind) && KeyOf(pen).exact; }

// A counting sort by pair straight into the member list. The colours that occur are numbered
// first, in ascending order, so the counts span the layers times the colours in use (a few
// thousand) rather than every pair of the palette (1.3 million), which would cost a small
// drawing more than the rest of its conversion. Then one pass counts every pair's Figures and
// their points (and notes the pairs that occur), and one places the exact members in store order.
TFigureGroups GroupFigures(const TFigureStore& store)
{
    const std::size_t count = store.Figures.size();
    std::vector<uint32_t> rank(kColorKeys, 0);  // colour -> its number among those in use + 1
    for (std::size_t i = 0; i < count; ++i)
        if (const TFigurePen pen = store.Figures.PenOf(i); IsDrawnKind(pen.Kind)) rank[KeyOf(pen).color] = 1;
    std::vector<int32_t> colorOf;  // number -> colour
    for (std::size_t c = 0; c < kColorKeys; ++c)
        if (rank[c] != 0) {
            colorOf.push_back(static_cast<int32_t>(c));
            rank[c] = static_cast<uint32_t>(colorOf.size());
        }
    const std::size_t colors = colorOf.size(), keys = kFigLayerCount * colors;
    const auto keyOf = [&](const TPairKey& k) { return k.layer * colors + rank[k.color] - 1; };

    std::vector<uint32_t> start(keys + 1, 0), points(keys, 0);
    std::vector<bool> occurs(keys, false);
    for (std::size_t i = 0; i < count; ++i) {
        const TFigurePen pen = store.Figures.PenOf(i);
        if (!IsDrawnKind(pen.Kind)) continue;
        const TPairKey k = KeyOf(pen);
        occurs[keyOf(k)] = true;
        if (k.exact) {
            ++start[keyOf(k) + 1];
            points[keyOf(k)] += static_cast<uint32_t>(FigurePointCount(pen.Kind));
        }
    }
    for (std::size_t b = 1; b <= keys; ++b) start[b] += start[b - 1];

    TFigureGroups result;
    result.Members.resize(start[keys]);
    for (std::size_t key = 0; key < keys; ++key) {
        if (!occurs[key]) continue;
        result.Groups.push_back({static_cast<int32_t>(key / colors), colorOf[key % colors], start[key], start[key + 1],
                                 points[key]});
    }
    for (std::size_t i = 0; i < count; ++i) {
        const TFigurePen pen = store.Figures.PenOf(i);
        if (!IsDrawnKind(pen.Kind)) continue;
        if (const TPairKey k = KeyOf(pen); k.exact) result.Members[start[keyOf(k)]++] = static_cast<uint32_t>(i);
    }
    return result;
}
