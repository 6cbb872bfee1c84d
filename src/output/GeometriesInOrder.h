#pragma once
// The library of geometries written on several threads: each geometry is formatted on a worker
// into memory and the geometries go to the document in the groups' order, so the document is
// the one a single thread writes.
#include <functional>

#include "figures/ConversionContext.h"
#include "output/ColladaElements.h"
#include "output/FigureGroups.h"

// A group of more Figures than this is formatted straight into the document when its turn
// comes, so only small geometries wait in memory (a few MB each at most).
constexpr uint32_t kLargeGroup = 16384;

// The threads a writer uses for the context's document.
unsigned WriterThreadsFor(const TConversionContext& context);

// Writes the geometry of every group with write(doc, group), in order, using up to `threads`
// threads. Exceptions of write reach the caller after every worker ended.
using TGeometryWriter = std::function<void(TColladaDocument& doc, const TFigureGroup& group)>;
void WriteGeometriesInOrder(TColladaDocument& doc, const TFigureGroups& groups, unsigned threads,
                            const TGeometryWriter& write);
