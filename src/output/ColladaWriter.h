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

// The document's materials: Lit as WriteCollada writes them (one Lambert material per colour,
// the colour as diffuse), Unlit as the compact document binds them (WriteUnlitEffects: unlit
// triangles, and the segments' own material).
enum class TColladaMaterials { Lit, Unlit };

// The same document with another library of geometries: asset and scene as WriteCollada writes
// them, the materials as `materials` says, the geometries by `geometries` (on up to `threads`
// threads).
using TColladaGeometriesWriter = std::function<void(TColladaDocument& doc, const TFigureStore& store,
                                                    const TFigureGroups& groups, unsigned threads)>;
[[nodiscard]] bool WriteColladaDocument(const TConversionContext& context, TByteSink& sink,
                                        const TColladaGeometriesWriter& geometries,
                                        TColladaMaterials materials = TColladaMaterials::Lit);
