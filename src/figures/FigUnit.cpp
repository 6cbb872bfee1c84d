#include "figures/FigUnit.h"

#include <algorithm>
#include <cmath>

#include "attributes/UnitGraAtt.h"

bool IsCounterClockwise(double x1, double y1, double x2, double y2, double x3, double y3)
{
    double ux = x2 - x1, uy = y2 - y1;
    double vx = x3 - x1, vy = y3 - y1;
    double c = ux * vy - uy * vx;
    if (std::fabs(c) > 1e-7) c /= std::fabs(c);
    return c >= 0;
}

void TFigureStore::ClearFigures()
{
    FigureCount = 0;
    Figures.clear();
    Segments = Triangles = TextSegments = 0;
    LayersUsed.fill(false);
}

void TFigureStore::Append(int32_t kind, int32_t layer, int32_t color, const TPlanePoint* points, bool text,
                          const double* heights)
{
    CheckBudget();
    if (heights) Figures.Add(kind, layer, color, points, heights);
    else Figures.Add(kind, layer, color, points, text);
    CountAdded(kind, layer, text);
}

void TFigureStore::AddTextLine(int32_t layer, int32_t color, double x1, double y1, double x2, double y2)
{
    const TPlanePoint points[2] = {{x1, y1}, {x2, y2}};
    Append(fkLine, layer, color, points, true);
}

void TFigureStore::AddTriangle(int32_t layer, int32_t color, double x1, double y1, double x2, double y2,
                               double x3, double y3)
{
    const bool turned = !IsCounterClockwise(x1, y1, x2, y2, x3, y3);
    const TPlanePoint points[3] = {{x1, y1}, turned ? TPlanePoint{x3, y3} : TPlanePoint{x2, y2},
                                   turned ? TPlanePoint{x2, y2} : TPlanePoint{x3, y3}};
    Append(fkTriangle, layer, color, points);
}

void TFigureStore::AddQuad(int32_t layer, int32_t color, double x1, double y1, double x2, double y2,
                           double x3, double y3, double x4, double y4)
{
    const bool turned = !IsCounterClockwise(x1, y1, x2, y2, x3, y3);
    const TPlanePoint points[4] = {{x1, y1}, turned ? TPlanePoint{x4, y4} : TPlanePoint{x2, y2}, {x3, y3},
                                   turned ? TPlanePoint{x2, y2} : TPlanePoint{x4, y4}};
    Append(fkQuad, layer, color, points);
}

void TFigureStore::AddLine3D(int32_t layer, int32_t color, const TFigPoint& a, const TFigPoint& b)
{
    const TPlanePoint points[2] = {{a.x, a.y}, {b.x, b.y}};
    const double heights[2] = {a.z, b.z};
    Append(fkLine, layer, color, points, false, heights);
}

void TFigureStore::AddTriangle3D(int32_t layer, int32_t color, const TFigPoint& a, const TFigPoint& b,
                                 const TFigPoint& c)
{
    const TPlanePoint points[3] = {{a.x, a.y}, {b.x, b.y}, {c.x, c.y}};
    const double heights[3] = {a.z, b.z, c.z};
    Append(fkTriangle, layer, color, points, false, heights);
}

void TFigureStore::CountLayers()
{
    LayerCounts.fill(0);
    for (std::size_t i = 0; i < Figures.size(); ++i) {
        const TFigurePen f = Figures.PenOf(i);
        int layer = (f.Layer >= 0 && f.Layer < kFigLayerCount) ? f.Layer : 0;
        ++LayerCounts[static_cast<size_t>(layer)];
    }
}

void TFigureStore::CountColors(int32_t layer, int32_t kindMask)
{
    ColorCounts.fill(0);
    const bool everyKind = kindMask == -1 || kindMask == 15;
    for (std::size_t i = 0; i < Figures.size(); ++i) {
        const TFigurePen f = Figures.PenOf(i);
        int figLayer = (f.Layer >= 0 && f.Layer < kFigLayerCount) ? f.Layer : 0;
        if (layer != -1 && layer != figLayer) continue;
        if (!everyKind) {
            int bit = f.Kind == fkLine ? 1 : f.Kind == fkTriangle ? 4 : f.Kind == fkQuad ? 8 : 0;
            if ((kindMask & bit) == 0) continue;
        }
        int color = (f.Color >= 1 && f.Color <= kPaletteSize) ? f.Color : 1;
        ++ColorCounts[static_cast<size_t>(color)];
    }
}

void TFigureStore::ResetPalette(const TgraAttribute& attributes)
{
    Palette.fill(0);
    paletteIndex_.clear();
    for (int k = 1; k <= kPenColorCount; ++k) {
        Palette[static_cast<size_t>(k)] = attributes.PenColor(k - 1);
        paletteIndex_.emplace(Palette[static_cast<size_t>(k)], k);
    }
    PaletteCount = kPenColorCount;
}

void TFigureStore::AddPaletteColor(int32_t rgb)
{
    if (PaletteCount >= kPaletteSize) return;
    const uint32_t value = static_cast<uint32_t>(rgb);
    if (!paletteIndex_.emplace(value, PaletteCount + 1).second) return;
    Palette[static_cast<size_t>(++PaletteCount)] = value;
}

int32_t TFigureStore::PaletteIndexOf(int32_t rgb) const
{
    const uint32_t value = static_cast<uint32_t>(rgb);
    if (const auto hit = paletteIndex_.find(value); hit != paletteIndex_.end()) return hit->second;
    // The unused entries after the last colour hold 0 (black) until they are filled.
    if (value == 0 && PaletteCount < kPaletteSize) return PaletteCount + 1;
    return kDefaultPaletteIndex;
}
