#pragma once
// One (layer, colour) geometry over shared vertices: points whose output coordinates agree to
// the nanometre (the nine decimals the COLLADA documents print) become one vertex, so
// outlines come out connected and each point is stored once.
#include <cstdint>
#include <functional>
#include <vector>

#include "figures/FigUnit.h"
#include "output/FigureGroups.h"

struct TWeldedGeometry {
    std::vector<TFigPoint> Vertices;   // stored coordinates of each vertex's first point
    std::vector<uint32_t> Segments;    // two vertex numbers per segment, in store order
    std::vector<uint32_t> Triangles;   // three per triangle; a quadrilateral as 0 1 2 and 0 2 3
};

// Welds the group's members; `scale` turns stored coordinates into output units. A figure
// for which `keep` (when given) answers false is left out. The result lives in the calling
// thread's memory and holds until that thread's next call: a writer welds group after group,
// and memory given back after one group and taken again for the next costs a page fault and
// a cleared page per 4 KiB.
using TFigureFilter = std::function<bool(const TFigure&)>;
const TWeldedGeometry& WeldGroup(const TFigureStore& store, const TFigureGroups& groups, const TFigureGroup& group,
                                 double scale, const TFigureFilter& keep = {});

// Gives back the calling thread's welding memory when it goes out of scope: a writer holds
// one while it welds. (The memory of other threads goes when they end.)
struct TWeldMemoryScope {
    TWeldMemoryScope() = default;
    TWeldMemoryScope(const TWeldMemoryScope&) = delete;
    TWeldMemoryScope& operator=(const TWeldMemoryScope&) = delete;
    ~TWeldMemoryScope();
};
