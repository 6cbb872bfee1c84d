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
// for which `keep` (when given) answers false is left out.
using TFigureFilter = std::function<bool(const TFigure&)>;
TWeldedGeometry WeldGroup(const TFigureStore& store, const TFigureGroups& groups, const TFigureGroup& group,
                          double scale, const TFigureFilter& keep = {});
