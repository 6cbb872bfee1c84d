#pragma once
// Writes the figure store as a COLLADA 1.4.1 document: one geometry per (layer, colour),
// one material per colour in use, one scene node per layer. A failed write deletes the
// partial file and reports nothing.
#include <filesystem>

#include "figures/ConversionContext.h"

void WriteCollada(TConversionContext& context, const std::filesystem::path& path);
