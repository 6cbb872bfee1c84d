#pragma once
// Writes the figure store as a compact COLLADA 1.4.1 document: the asset, effects,
// materials, geometry ids and scene of WriteCollada's document, but each geometry holds one
// positions source of welded vertices, one <triangles> with a face normal per triangle and
// one <lines> with all its segments. Like WriteCollada, a failed write leaves the old file
// as it was; the answer tells whether the new document stands.
#include <filesystem>

#include "figures/ConversionContext.h"

bool WriteColladaCompact(TConversionContext& context, const std::filesystem::path& path);
