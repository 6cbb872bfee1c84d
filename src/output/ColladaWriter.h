#pragma once
// Writes the figure store as a COLLADA 1.4.1 document: one geometry per (layer, colour),
// one material per colour in use, one scene node per layer. The document replaces the file at
// the path only once it is complete: a failed write leaves the old file as it was and shows
// nothing; the answer tells the caller whether the new document stands.
#include <filesystem>
#include <functional>

#include "figures/ConversionContext.h"

class TColladaDocument;
struct TFigureGroups;

bool WriteCollada(TConversionContext& context, const std::filesystem::path& path);

// The same document with another library of geometries: asset, effects, materials and
// scene as WriteCollada writes them, the geometries by `geometries` (on up to `threads` threads).
using TColladaGeometriesWriter = std::function<void(TColladaDocument& doc, const TFigureStore& store,
                                                    const TFigureGroups& groups, unsigned threads)>;
bool WriteColladaDocument(TConversionContext& context, const std::filesystem::path& path,
                          const TColladaGeometriesWriter& geometries);
