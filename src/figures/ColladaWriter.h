#pragma once
// Writes the figure store as a COLLADA 1.4.1 document: one geometry per (layer, colour),
// one material per colour in use, one scene node per layer. A failed write deletes the
// partial file and shows nothing; the answer tells the caller whether the document stands.
#include <filesystem>
#include <functional>

#include "figures/ConversionContext.h"

class TDocument;
struct TFigureGroups;

bool WriteCollada(TConversionContext& context, const std::filesystem::path& path);

// The same document with another library of geometries: asset, effects, materials and
// scene as WriteCollada writes them, the geometries by `geometries`.
using TColladaGeometriesWriter =
    std::function<void(TDocument& doc, const TFigureStore& store, const TFigureGroups& groups)>;
bool WriteColladaDocument(TConversionContext& context, const std::filesystem::path& path,
                          TColladaGeometriesWriter geometries);
