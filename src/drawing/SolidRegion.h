#pragma once
// The region an arc-shaped solid fills, as closed loops of elliptic arcs and straight edges,
// in model millimetres: a sector, the segment between an arc and its chord, the region
// between an arc and its end tangents, or a ring between two ellipses.
#include <optional>

#include "drawing/Drawing.h"
#include "formats/jww/JwwSolidArc.h"

namespace drawing {

// The loops of a filled shape (not the outline shape, which is a line); none when the shape
// has no area to fill or a value no document can hold.
std::optional<std::vector<std::vector<TRegionEdge>>> SolidRegionLoops(const TSolidArc& shape, double scale);

// The point of `arc` at parameter t.
void ArcPoint(const TEllipticArc& arc, double t, double& x, double& y);

}  // namespace drawing
