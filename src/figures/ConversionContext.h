#pragma once
// Everything one conversion run shares: the attribute table, the options of the current
// batch, the coordinate factor and the figure store with its palette and census.
// The driver owns one; readers, walkers and the writer take it by reference.
#include <array>
#include <cstdint>
#include <string>

#include "attributes/UnitGraAtt.h"
#include "figures/FigUnit.h"

// The document written for each file: today's COLLADA, the compact COLLADA (welded vertices,
// one <lines> and one <triangles> per geometry) or a binary glTF 2.0 file.
enum class TOutputFormat { Dae, DaeCompact, Glb };

// The drawing's own names in UTF-8, for documents that name their nodes; empty where the
// file has none.
struct TDrawingNames {
    std::string Drawing;                  // the input's file name without its extension
    std::array<std::string, 16> Groups;   // layer groups 0..15
    std::array<std::string, 256> Layers;  // layer g * 16 + n
};

// The user's choices for one batch, read from the controls and clamped at batch start.
struct TConversionOptions {
    bool IncludeHiddenLayers = true;
    bool IncludeAuxiliary = true;
    bool IncludeDimensions = true;
    bool IncludeHatching = true;
    bool IncludePoints = true;
    bool IncludeSolids = false;
    int32_t PointMarkerShape = 0;   // 0..7, -1 draws no marker
    double PointMarkerSize = 1.0;   // paper millimetres
    int32_t ArcMode = 0;            // 0 by count, 1 by angle, 2 by length
    int32_t ArcDivisions = 12;
    int32_t ArcAngleMinDivisions = 4;
    int32_t ArcLengthMinDivisions = 4;
    double ArcAngle = 10.0L / 180.0L * 3.1415926535897932385L;  // radians
    double ArcLength = 10.0;        // paper millimetres
    TOutputFormat Format = TOutputFormat::Dae;
};

struct TConversionContext {
    TgraAttribute Attributes;
    TConversionOptions Options;
    double CoordinateScale = 1.0;   // the output's coordinate factor (1, 10, 100, 1000)
    TFigureStore Store;
    TDrawingNames Names;            // of the file being converted
    // The file's block placements ran past the expansion's bounds (or memory): the walk drew
    // what was expanded. Set by the walkers, cleared by the driver before every file.
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
