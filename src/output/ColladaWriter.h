#pragma once
// Writes the figure store as a COLLADA 1.4.1 document into a sink: one geometry per (layer,
// colour), one material per colour in use, one scene node per layer. The <created> stamp is
// the options' CreationStamp when it is plain text, else now. Answers whether the whole
// document went into the sink (false also when memory ran out); the store is only read.
#include <functional>

#include "figures/ConversionContext.h"
#include "util/ByteSink.h"

class TColladaDocument;
struct TFigureGroups;

[[nodiscard]] bool WriteCollada(const TConversionContext& context, TByteSink& sink);

// The same document with another library of geometries: asset, effects, materials and
// scene as WriteCollada writes them, the geometries by `geometries` (on up to `threads` threads).
using TColladaGeometriesWriter = std::function<void(TColladaDocument& doc, const TFigureStore& store,
                                                    const TFigureGroups& groups, unsigned threads)>;
[[nodiscard]] bool WriteColladaDocument(const TConversionContext& context, TByteSink& sink,
                                        const TColladaGeometriesWriter& geometries);
