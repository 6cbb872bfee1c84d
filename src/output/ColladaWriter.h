#pragma once
// Writes the figure store as a COLLADA 1.4.1 document: one geometry per (layer, colour),
// one material per colour in use, one scene node per layer. A failed write deletes the
// partial file and shows nothing; the answer tells the caller whether the document stands.
#include <filesystem>

#include "figures/ConversionContext.h"

bool WriteCollada(TConversionContext& context, const std::filesystem::path& path);
