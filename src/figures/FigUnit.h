#pragma once
// The figure store: the output primitives of the file being converted, the colour
// palette that gives each Figure's colour index a value, and the layer and colour census
// the COLLADA writer uses to find which (layer, colour) pairs occur.
#include <array>
#include <cstdint>
#include <vector>

class TgraAttribute;

enum : int32_t { fkLine = 1, fkTriangle = 11, fkQuad = 12 };

struct TFigPoint {
    double x = 0, y = 0, z = 0;
};

struct TFigure {
    int32_t Kind = 0;
    int32_t Layer = 0;
    int32_t Color = 0;  // 1-based palette index
    TFigPoint Points[4];
};

constexpr int kFigLayerCount = 256;
constexpr int kPaletteSize = 5266;
constexpr int kPenColorCount = 265;
constexpr int kDefaultPaletteIndex = 7;

// True when P1 P2 P3 turns counter-clockwise seen from +Z, or is degenerate.
bool IsCounterClockwise(double x1, double y1, double x2, double y2, double x3, double y3);

class TFigureStore {
public:
    // The Figures in the order they were added; FigureCount is their number.
    std::vector<TFigure> Figures;
    int32_t FigureCount = 0;

    // Palette[1..kPaletteSize]; index 0 is unused so indices read as in the Figures.
    std::array<uint32_t, kPaletteSize + 1> Palette{};
    int32_t PaletteCount = 0;

    std::array<int32_t, kFigLayerCount> LayerCounts{};
    std::array<int32_t, kPaletteSize + 1> ColorCounts{};  // 1-based

    void ClearFigures();
    void AddLine(int32_t layer, int32_t color, double x1, double y1, double x2, double y2);
    void AddTriangle(int32_t layer, int32_t color, double x1, double y1, double x2, double y2, double x3,
                     double y3);
    void AddQuad(int32_t layer, int32_t color, double x1, double y1, double x2, double y2, double x3,
                 double y3, double x4, double y4);

    void CountLayers();
    // Mask bits: 1 line, 4 triangle, 8 quadrilateral; -1 or 15 take every kind.
    // A layer of -1 counts every layer.
    void CountColors(int32_t layer, int32_t kindMask);

    // Empties the palette and fills indices 1..265 with the attribute table's pen colours.
    void ResetPalette(const TgraAttribute& attributes);
    void AddPaletteColor(int32_t rgb);
    int32_t PaletteIndexOf(int32_t rgb) const;

private:
    TFigure& Append(int32_t kind, int32_t layer, int32_t color);
};
