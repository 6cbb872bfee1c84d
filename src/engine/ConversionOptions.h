#pragma once
// The options of one conversion as a value: what to convert, how fine arcs are broken, the
// point markers, the coordinate factor, the document's format and the background the file
// starts with. Every default is here; MakeOptions (engine/OptionRequest.h) makes a clamped
// value from what a user typed, and nothing after it clamps again.
//
// The walkers and writers read this value, so it depends only on the drawing facts.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "util/DrawingFacts.h"

// How circles and arcs are broken into segments.
enum class TArcMode { ByCount, ByAngle, ByLength };

// The document written for each file: today's COLLADA, the compact COLLADA (welded vertices,
// one <lines> and one <triangles> per geometry), a binary glTF 2.0 file, or a DXF drawing
// that keeps the drawing's own entities.
enum class TOutputFormat { Dae, DaeCompact, Glb, Dxf };

// The attribute table's background mode, which picks the default pen colours: white pens on
// a dark background, black pens on a light one. A JWW drawing may change it for the files
// after it.
enum class TBackground { Light = 0, Dark = 1 };

// The background a file starts with: the one the file before it left, or always the same.
enum class TBackgroundChoice { Carried, Light, Dark };

// The kinds of entity converted: hidden layers, auxiliary lines, dimensions, hatching, points,
// filled solids, and texts (as the outlines of their glyphs).
struct TEntityKinds {
    bool HiddenLayers = true;
    bool Auxiliary = true;
    bool Dimensions = true;
    bool Hatching = true;
    bool Points = true;
    bool Solids = false;
    bool Texts = false;

    bool operator==(const TEntityKinds&) const = default;
};

// How the drawing's height texts are read: not at all (every document flat), or their
// numbers as metres or as millimetres.
enum class THeightUnit { Off, Metres, Millimetres };

// A layer that rises by a given height: the layer as a user names it (its position in
// hexadecimal, "0-1", "2-A", or its name in the drawing) and the height in metres (negative:
// down).
struct TLayerHeight {
    std::string Layer;
    double Metres = 0;
    bool operator==(const TLayerHeight&) const = default;
};

struct TConversionOptions {
    TEntityKinds Include{};

    // Lines whose ends the drawing's height texts mark, and the lines and arcs of the layers
    // in Extrude, become edges and walls in 3D.
    THeightUnit Heights = THeightUnit::Off;
    std::vector<TLayerHeight> Extrude{};

    double CoordinateScale = 1.0;    // 1, 10, 100 or 1000: one drawing mm is 0.001 x this
    int32_t PointMarkerShape = 0;    // 0..7; -1 draws no marker
    double PointMarkerSize = 1.0;    // paper millimetres, 0.00001..10000

    TArcMode ArcMode = TArcMode::ByCount;
    int32_t ArcDivisions = 12;          // by count: 3..3600
    double ArcAngleDegrees = 10.0;      // by angle: 0.1..90 degrees per segment
    int32_t ArcAngleMinDivisions = 4;   // 3..3600
    double ArcLength = 10.0;            // by length: 0.001..1000 paper mm per segment
    int32_t ArcLengthMinDivisions = 4;  // 3..3600

    TOutputFormat Format = TOutputFormat::Dae;

    // The font every text is drawn in: a font file, else font bytes (a page has no system
    // fonts), else (both empty) the font each text names, as the system has it.
    std::filesystem::path FontFile{};
    std::shared_ptr<const std::vector<unsigned char>> FontData{};

    // The background the file starts with: Background itself, or CarriedBackground (the
    // BackgroundAfter of the file converted before) when Background is Carried.
    TBackgroundChoice Background = TBackgroundChoice::Carried;
    TBackground CarriedBackground = TBackground::Dark;

    // The drawing's name (a file name without its extension): the glTF root node's name.
    std::string DrawingName{};
    // The COLLADA <created> stamp to keep (the replaced document's); none, or a text that
    // would break the document, means now.
    std::optional<std::string> CreationStamp{};

    // Threads one file's arcs and document may use (a batch converting several files at once
    // gives each file one). A document of fewer Figures is written on one thread, and arcs of
    // fewer points are walked on one: the work is done sooner than threads start.
    unsigned Threads = 1;
    size_t MinFiguresForThreads = 10000;
    // The most Figures one file may make; 0 means the store's own limit (5,000,000).
    size_t FigureBudget = 0;

    // The angle per segment in radians, as the walkers use it.
    double ArcAngleRadians() const
    {
        return static_cast<double>(static_cast<long double>(ArcAngleDegrees) / 180.0L * jw::kPi);
    }
    // The mode the file starts with.
    TBackground StartBackground() const
    {
        switch (Background) {
        case TBackgroundChoice::Light: return TBackground::Light;
        case TBackgroundChoice::Dark: return TBackground::Dark;
        case TBackgroundChoice::Carried: break;
        }
        return CarriedBackground;
    }
};
