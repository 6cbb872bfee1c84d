#pragma once
// The walk shared by the two older formats: JWC drawings and JWK symbol files hold the same
// line, arc and point records and differ only in their drawing scale.
#include "figures/ConversionContext.h"
#include "figures/Primitives.h"

namespace walk_detail {

inline bool HiddenSkipped(const TConversionContext& ctx, int layer)
{
    return !ctx.Options.IncludeHiddenLayers && ctx.Attributes.LayerState(layer) == TgraAttribute::kHiddenState;
}

inline bool FlagSkipped(bool included, int flags, int bit) { return !included && (flags & bit) != 0; }

// Lists of the older formats: colours are pen bytes used as palette indices unchanged,
// layers are the record's layer byte, arc angles are degrees.
template <typename Model>
void WalkOldFormat(const Model& data, double s, TConversionContext& ctx)
{
    ctx.Store.ResetPalette(ctx.Attributes);
    ctx.Store.ClearFigures();
    const TConversionOptions& o = ctx.Options;

    for (const auto& l : data.Lines) {
        if (HiddenSkipped(ctx, l.Layer) || (!o.IncludeAuxiliary && l.LineType == 9) ||
            FlagSkipped(o.IncludeDimensions, l.Flags2, 0x20) || FlagSkipped(o.IncludeHatching, l.Flags1, 0x20))
            continue;
        ctx.Store.AddLine(l.Layer, l.PenColor, s * l.X1, s * l.Y1, s * l.X2, s * l.Y2);
    }
    for (const auto& a : data.Arcs) {
        if (HiddenSkipped(ctx, a.Layer) || (!o.IncludeAuxiliary && a.LineType == 9) ||
            FlagSkipped(o.IncludeDimensions, a.Flags, 0x40) || FlagSkipped(o.IncludeHatching, a.Flags, 0x20))
            continue;
        AddArcLinesDeg(ctx, a.Layer, a.PenColor, s, a.CenterX, a.CenterY, a.Radius, a.Flattening, a.Tilt,
                       a.StartAngle, a.EndAngle);
    }
    if (!o.IncludePoints) return;
    for (const auto& p : data.Points) {
        if (HiddenSkipped(ctx, p.Layer) || FlagSkipped(o.IncludeDimensions, p.Flags, 0x40) ||
            FlagSkipped(o.IncludeHatching, p.Flags, 0x20))
            continue;
        AddPointMarker(ctx, p.Layer, p.PenColor, s, p.X, p.Y);
    }
}

}  // namespace walk_detail
