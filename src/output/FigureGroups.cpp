#include "output/FigureGroups.h"

namespace {

struct TKeyedFigure {
    uint32_t Index;
    uint16_t Color;  // as the census counts it
    uint8_t Layer;   // as the census counts it
    bool Exact;      // the Figure's own layer and colour are in range
};

// Stable counting sort of items by key(item) in 0..bucketCount-1.
template <typename Key>
void CountingSort(std::vector<TKeyedFigure>& items, std::size_t bucketCount, Key key)
{
    std::vector<uint32_t> start(bucketCount + 1, 0);
    for (const TKeyedFigure& item : items) ++start[key(item) + 1];
    for (std::size_t b = 1; b <= bucketCount; ++b) start[b] += start[b - 1];
    std::vector<TKeyedFigure> sorted(items.size());
    for (const TKeyedFigure& item : items) sorted[start[key(item)]++] = item;
    items.swap(sorted);
}

}  // namespace

bool IsDrawnKind(int32_t kind) { return kind == fkLine || kind == fkTriangle || kind == fkQuad; }

TFigureGroups GroupFigures(const TFigureStore& store)
{
    const std::size_t count = store.Figures.size();
    std::vector<TKeyedFigure> items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const TFigure& f = store.Figures[i];
        if (!IsDrawnKind(f.Kind)) continue;
        const bool layerInRange = f.Layer >= 0 && f.Layer < kFigLayerCount;
        const bool colorInRange = f.Color >= 1 && f.Color <= kPaletteSize;
        items.push_back({static_cast<uint32_t>(i), static_cast<uint16_t>(colorInRange ? f.Color : 1),
                         static_cast<uint8_t>(layerInRange ? f.Layer : 0), layerInRange && colorInRange});
    }
    // Least significant key first: by colour, then by layer, both stable, so store order
    // survives inside every (layer, colour) pair.
    CountingSort(items, kPaletteSize + 1, [](const TKeyedFigure& k) { return std::size_t{k.Color}; });
    CountingSort(items, kFigLayerCount, [](const TKeyedFigure& k) { return std::size_t{k.Layer}; });

    TFigureGroups result;
    result.Members.reserve(items.size());
    for (std::size_t i = 0; i < items.size();) {
        TFigureGroup group;
        group.Layer = items[i].Layer;
        group.Color = items[i].Color;
        group.First = static_cast<uint32_t>(result.Members.size());
        std::size_t j = i;
        for (; j < items.size() && items[j].Layer == items[i].Layer && items[j].Color == items[i].Color; ++j)
            if (items[j].Exact) result.Members.push_back(items[j].Index);
        group.Last = static_cast<uint32_t>(result.Members.size());
        result.Groups.push_back(group);
        i = j;
    }
    return result;
}
