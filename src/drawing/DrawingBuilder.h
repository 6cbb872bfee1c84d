#pragma once
// What every reader's conversion into the drawing shares: the entity's attributes from its
// layer, pen, line type and width; the layers used; the fonts named; the figure budget, which
// an entity spends as the Figures the walk would make of it; and the coordinate test that keeps
// a value no document can hold out of the drawing.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawing/Drawing.h"
#include "figures/ConversionContext.h"

namespace drawing {

// A drawing's own line type: its dot pattern, `dots` bits long, each dot `dotLength` paper mm.
struct TDotPattern {
    uint32_t bits = 0;
    int32_t dots = 0;
    double dotLength = 0;
};

class TDrawingBuilder {
public:
    // Starts an empty drawing in ctx.Drawing at `scale` (1 for one that is no positive number),
    // with the layers' states and the point markers of the context.
    TDrawingBuilder(TConversionContext& ctx, double scale);

    TDrawing& Drawing() { return d_; }
    const TConversionOptions& Options() const { return ctx_.Options; }
    double Scale() const { return d_.scale; }

    // Attributes of an entity on `layer` (group * 16 + layer; kInheritLayer for a block member
    // that takes its placement's), drawn in colour `color` (0x00BBGGRR), line type
    // number `lineType` and width `width` (hundredths of a millimetre, 0 none).
    TAttributes Attributes(int32_t layer, uint32_t color, int32_t lineType, int32_t width);
    // The colour of pen `pen` as the attribute table holds it.
    uint32_t PenColor(int32_t pen) const;

    // The line type numbers' dot patterns (a number without one is a solid line), named
    // `prefix` and the number; set once by the format's conversion before its entities.
    void SetLineTypes(std::unordered_map<int32_t, TDotPattern> patterns, std::string_view prefix);

    int32_t Font(const std::string& utf8Name);

    // Spends `figures` of the budget; throws TFigureBudgetExceeded when it is spent.
    void Spend(size_t figures);
    // The Figures an arc of this radius and sweep (drawing units) would make.
    size_t ArcFigures(double radius, double sweep) const;
    // The Figures of one point marker.
    size_t MarkerFigures() const;

    // True when every value is a coordinate a document can hold (finite, within the limit).
    bool Fits(std::initializer_list<double> values) const;

    // The layer is marked used (for a placement's layer too).
    void UseLayer(int32_t layer);

private:
    int32_t LineType(int32_t number);

    TConversionContext& ctx_;
    TDrawing& d_;
    size_t spent_ = 0;
    std::unordered_map<int32_t, TDotPattern> patterns_;
    std::string prefix_;
    std::unordered_map<int32_t, int32_t> lineTypes_;  // line type number -> index
    std::unordered_map<std::string, int32_t> fonts_;
};

// A dot pattern as DXF dashes: runs of set bits are dashes, runs of clear bits gaps, starting
// with the first dash; empty when no bit or every bit is set.
std::vector<double> DashesOf(const TDotPattern& pattern);

// The font file Windows has for a family a drawing names; the Gothic one for any other.
std::string WindowsFontFile(const std::string& family);

// A millimetre width as the nearest standard line weight, hundredths of a millimetre; -1 for 0.
int32_t StandardLineWeight(int32_t hundredths);

}  // namespace drawing
