#pragma once
// Everything one conversion shares: the attribute table, the options, and the figure store
// with its palette. The engine owns one; readers, walkers and writers take it by reference.
#include <array>
#include <cstdint>
#include <string>

#include "attributes/UnitGraAtt.h"
#include "engine/ConversionOptions.h"
#include "figures/FigUnit.h"

// The drawing's own names in UTF-8, for documents that name their nodes; empty where the
// file has none.
struct TDrawingNames {
    std::string Drawing;                  // the input's file name without its extension
    std::array<std::string, 16> Groups;   // layer groups 0..15
    std::array<std::string, 256> Layers;  // layer g * 16 + n
};

struct TConversionContext {
    TgraAttribute Attributes;
    TConversionOptions Options;
    TFigureStore Store;
    TDrawingNames Names;            // of the file being converted
    // The file's block placements ran past the expansion's bounds (or memory): the walk drew
    // what was expanded. Set by the walkers, cleared by the engine before every file.
    bool BlocksCut = false;
    // Threads one file's conversion may use (the arcs' walk and the writers); a batch
    // converting several files at once gives each file one.
    unsigned Threads = 1;
    // A document of fewer Figures is written on one thread, and arcs of fewer points are walked
    // on one: the work is done sooner than threads start. Tests lower it.
    size_t MinFiguresForThreads = 10000;

    // The threads for a piece of work of `size` Figures or points.
    unsigned ThreadsFor(size_t size) const { return size < MinFiguresForThreads ? 1 : Threads; }
};
