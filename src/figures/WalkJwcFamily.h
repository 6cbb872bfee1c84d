#pragma once
// The walk shared by the two older formats: JWC drawings and JWK symbol files hold the same
// line, arc and point records and differ only in their drawing scale.
#include "figures/ConversionContext.h"
#include "figures/Primitives.h"
#include "figures/PrimitivesEmit.h"
#include "figures/SkipRules.h"

namespace walk_detail {

constexpr int kHatchBit = 0x20;              // Flags1 of a line, Flags of an arc or point
constexpr int kLineDimensionBit = 0x20;      // Flags2 of a line
constexpr int kCurveDimensionBit = 0x40;     // Flags of an arc or point

// Lists of the older formats: colours are pen bytes used as palette indices unchanged,
// layers are the record's layer byte, arc angles are degrees.
template <typename Model>
void WalkOldFormat(const Model& data, double s, TConversionContext& ctx)
{
    ctx.Store.ResetPalette(ctx.Attributes);
    ctx.Store.ClearFigures();
    const TConversionOptions& o = ctx.Options;
    using skip_rules::AuxiliaryLineType;
    using skip_rules::FlagBit;
    using skip_rules::HiddenLayer;

    for (const auto& l : data.Lines) {
        if (HiddenLayer(ctx, l.Layer) || AuxiliaryLineType(o, l.LineType) ||
            FlagBit(o.Include.Dimensions, l.Flags2, kLineDimensionBit) ||
            FlagBit(o.Include.Hatching, l.Flags1, kHatchBit))
            continue;
        primitives::EmitLine(ctx.Store, {l.Layer, l.PenColor}, primitives::Scaled(l.X1, l.Y1, s),
                             primitives::Scaled(l.X2, l.Y2, s));
    }
    for (const auto& a : data.Arcs) {
        if (HiddenLayer(ctx, a.Layer) || AuxiliaryLineType(o, a.LineType) ||
            FlagBit(o.Include.Dimensions, a.Flags, kCurveDimensionBit) ||
            FlagBit(o.Include.Hatching, a.Flags, kHatchBit))
            continue;
        if (const auto arc =
                ArcFromDegrees(a.CenterX, a.CenterY, a.Radius, a.Flattening, a.Tilt, a.StartAngle, a.EndAngle))
            AddArcLines(ctx, {a.Layer, a.PenColor}, s, *arc);
    }
    if (!o.Include.Points) return;
    for (const auto& p : data.Points) {
        if (HiddenLayer(ctx, p.Layer) || FlagBit(o.Include.Dimensions, p.Flags, kCurveDimensionBit) ||
            FlagBit(o.Include.Hatching, p.Flags, kHatchBit))
            continue;
        AddPointMarker(ctx, {p.Layer, p.PenColor}, s, p.X, p.Y);
    }
}

}  // namespace walk_detail
