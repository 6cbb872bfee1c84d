#pragma once
// The figure store: the output primitives of the file being converted, the colour
// palette that gives each Figure's colour index a value, and the layer and colour census
// the COLLADA writer uses to find which (layer, colour) pairs occur.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "figures/FigureList.h"
#include "util/DrawingFacts.h"

class TgraAttribute;


constexpr int kFigLayerCount = 256;
constexpr int kPaletteSize = 5266;
constexpr int kPenColorCount = jw::kPenColorCount;
constexpr int kDefaultPaletteIndex = 7;

// Thrown by the store's Add functions when a file's Figures reach TFigureStore::kMaxFigures:
// the walk stops there, and what was drawn before stays in the store to be written.
struct TFigureBudgetExceeded : std::runtime_error {
    TFigureBudgetExceeded() : std::runtime_error("the figure budget of one file is spent") {}
};

// True when P1 P2 P3 turns counter-clockwise seen from +Z, or is degenerate.
bool IsCounterClockwise(double x1, double y1, double x2, double y2, double x3, double y3);

class TFigureStore {
public:
    // The most Figures one file may produce. The store then holds 200 MB of segments or
    // 360 MB of triangles; the compact and glTF writers, which weld vertices, need about
    // 850 MB for that many triangles of one colour, and a COLLADA document is about 1.2 GB.
    // A drawing of a million lines and a hundred thousand arcs makes 2.2 million.
    static constexpr int32_t kMaxFigures = 5'000'000;

    // The Figures in the order they were added; FigureCount is their number.
    TFigureList Figures;
    int32_t FigureCount = 0;
    // The budget in force: kMaxFigures unless a test lowers it.
    size_t FigureBudget = kMaxFigures;
    // The largest magnitude a stored coordinate may have for the primitives to draw it: 1e12
    // output units at the coordinate factor in use (see CoordinateLimitFor); beyond, as for a
    // coordinate that is not a number, no Figure is made.
    double CoordinateLimit = CoordinateLimitFor(1.0);
    static double CoordinateLimitFor(double coordinateScale) { return 1e12 / (0.001 * coordinateScale); }

    // Palette[1..kPaletteSize]; index 0 is unused so indices read as in the Figures.
    std::array<uint32_t, kPaletteSize + 1> Palette{};
    int32_t PaletteCount = 0;

    // What the Figures make: segments, triangles (a quadrilateral is two), layers with any.
    std::size_t Segments = 0;
    std::size_t Triangles = 0;
    std::size_t TextSegments = 0;  // of the Segments, those of texts' outlines
    std::array<bool, kFigLayerCount> LayersUsed{};

    std::array<int32_t, kFigLayerCount> LayerCounts{};
    std::array<int32_t, kPaletteSize + 1> ColorCounts{};  // 1-based

    // Empties the store (the palette stays). The Add functions throw TFigureBudgetExceeded
    // instead of adding a Figure past kMaxFigures, and std::bad_alloc when memory runs out;
    // either way the store keeps the Figures it had.
    void ClearFigures();
    inline void AddLine(int32_t layer, int32_t color, double x1, double y1, double x2, double y2);
    // A segment of a text's outline: a segment that documents may keep apart.
    void AddTextLine(int32_t layer, int32_t color, double x1, double y1, double x2, double y2);
    void AddTriangle(int32_t layer, int32_t color, double x1, double y1, double x2, double y2, double x3,
                     double y3);
    void AddQuad(int32_t layer, int32_t color, double x1, double y1, double x2, double y2, double x3,
                 double y3, double x4, double y4);

    // Figures off the plane, for lifted drawings: a segment, and a triangle kept in the order
    // given (its face's side is the caller's choice).
    void AddLine3D(int32_t layer, int32_t color, const TFigPoint& a, const TFigPoint& b);
    void AddTriangle3D(int32_t layer, int32_t color, const TFigPoint& a, const TFigPoint& b, const TFigPoint& c);

    void CountLayers();
    // Mask bits: 1 line, 4 triangle, 8 quadrilateral; -1 or 15 take every kind.
    // A layer of -1 counts every layer.
    void CountColors(int32_t layer, int32_t kindMask);

    // Empties the palette and fills indices 1..265 with the attribute table's pen colours.
    void ResetPalette(const TgraAttribute& attributes);
    void AddPaletteColor(int32_t rgb);
    // The first palette index holding `rgb`; kDefaultPaletteIndex when none does.
    int32_t PaletteIndexOf(int32_t rgb) const;

private:
    void Append(int32_t kind, int32_t layer, int32_t color, const TPlanePoint* points, bool text = false,
                const double* heights = nullptr);
    // Before a Figure goes in: the budget.
    void CheckBudget() const
    {
        if (Figures.size() >= FigureBudget) throw TFigureBudgetExceeded();
    }
    // Once it is in: counted only then, so that a failed allocation, which throws, leaves the
    // store as it was.
    void CountAdded(int32_t kind, int32_t layer, bool text)
    {
        FigureCount = static_cast<int32_t>(Figures.size());
        if (kind == fkLine) ++Segments;
        else Triangles += kind == fkQuad ? 2 : 1;
        if (text) ++TextSegments;
        if (layer >= 0 && layer < kFigLayerCount) LayersUsed[static_cast<size_t>(layer)] = true;
    }

    // Colour -> first palette index holding it, so that a drawing's many fill colours are
    // found in constant time.
    std::unordered_map<uint32_t, int32_t> paletteIndex_;
};

// Inline: a large drawing adds millions of segments.
void TFigureStore::AddLine(int32_t layer, int32_t color, double x1, double y1, double x2, double y2)
{
    CheckBudget();
    const TPlanePoint points[2] = {{x1, y1}, {x2, y2}};
    Figures.AddSegment(layer, color, points, false);
    CountAdded(fkLine, layer, false);
}
