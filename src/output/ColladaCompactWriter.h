#pragma once
// Writes the figure store as a compact COLLADA 1.4.1 document: the asset, geometry ids and
// scene of WriteCollada's document, but each geometry holds one positions source of welded
// vertices, one <triangles> with a face normal per triangle and one <lines> with all its
// segments, and the triangles are unlit, each kind with its own material (WriteUnlitEffects).
// Like WriteCollada, it answers whether the whole document went into the sink.

#include "figures/ConversionContext.h"
#include "util/ByteSink.h"

[[nodiscard]] bool WriteColladaCompact(const TConversionContext& context, TByteSink& sink);
