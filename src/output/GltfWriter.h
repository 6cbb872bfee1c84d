#pragma once
// Writes the figure store as one binary glTF 2.0 file (.glb): a root node named after the
// drawing, turning the plan into glTF's ground plane; under it a node per layer group, a
// node per layer and a node per (layer, colour) whose mesh has a LINES and a TRIANGLES
// primitive over welded float32 vertices, relative to the drawing's centre; one unlit
// material per colour. Metres times the coordinate factor, as the COLLADA documents. A
// figure with a point that cannot be stored as float32 is left out. Answers whether the
// whole file went into the sink (false also past the container's 4 GiB, or out of memory).

#include "figures/ConversionContext.h"
#include "util/ByteSink.h"

[[nodiscard]] bool WriteGltf(const TConversionContext& context, TByteSink& sink);
