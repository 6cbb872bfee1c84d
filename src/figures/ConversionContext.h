#pragma once
// Everything one conversion shares: the attribute table, the options, and the figure store
// with its palette. The engine owns one; readers, walkers and writers take it by reference.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "attributes/UnitGraAtt.h"
#include "drawing/Drawing.h"
#include "engine/ConversionOptions.h"
#include "figures/FigUnit.h"
#include "figures/Heights.h"
#include "text/TextFonts.h"

// The drawing's own names in UTF-8, for documents that name their nodes; empty where the
// file has none.
struct TDrawingNames {
    std::string Drawing;                  // the input's file name without its extension
    std::array<std::string, 16> Groups;   // layer groups 0..15
    std::array<std::string, 256> Layers;  // layer g * 16 + n
};

// What became of the drawing's texts in one file.
struct TTextCounts {
    size_t Drawn = 0;
    size_t WithoutFont = 0;    // left out: no font for them
    size_t MissingGlyphs = 0;  // characters drawn as their box
    size_t LeftOut = 0;        // not converted, as texts were not asked for
};

struct TConversionContext {
    TgraAttribute Attributes;
    TConversionOptions Options;
    TFigureStore Store;
    TDrawingNames Names;            // of the file being converted
    drawing::TDrawing Drawing;      // the drawing's entities, for the CAD documents
    // The file's block placements ran past the expansion's bounds (or memory): the walk drew
    // what was expanded. Set by the walkers, cleared by the engine before every file.
    bool BlocksCut = false;
    // The fonts, kept from one file to the next, and this file's texts (cleared per file).
    TTextFonts Fonts;
    TTextCounts Texts;
    // This file's height marks and raised layers (begun by the engine once names are read).
    THeights Heights;
    // The threads for a piece of work of `size` Figures or points.
    unsigned ThreadsFor(size_t size) const
    {
        return size < Options.MinFiguresForThreads ? 1 : std::max(1u, Options.Threads);
    }
};
