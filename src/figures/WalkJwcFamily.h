#pragma once
// The walk shared by the two older formats: JWC drawings and JWK symbol files hold the same
// line, arc and point records and differ only in their drawing scale.
#include <cmath>

#include "figures/ConversionContext.h"
#include "figures/Primitives.h"
#include "figures/PrimitivesEmit.h"
#include "figures/SkipRules.h"
#include "figures/TextFigures.h"
#include "text/TextLayout.h"

namespace walk_detail {

constexpr int kHatchBit = 0x20;              // Flags1 of a line, Flags of an arc or point
constexpr int kLineDimensionBit = 0x20;      // Flags2 of a line
constexpr int kCurveDimensionBit = 0x40;     // Flags of an arc or point
// A text record's attribute bytes follow a line record's: kind, pen colour, layer, unused.
constexpr size_t kTextPenByte = 1;
constexpr size_t kTextLayerByte = 2;

// The older formats store a text's start and end points but no size: the characters, with
// no spacing, fill the line between the two, each as tall as it is wide (the font named by
// the system's default, Gothic).
template <class Text>
void AddOldFormatText(TConversionContext& ctx, const Text& t, double s)
{
    const std::vector<TTextCell> cells = LayOutText(t.Text, 1.0, 0.0);
    const double units = TextLength(cells);
    const double dx = double{t.X2} - t.X1, dy = double{t.Y2} - t.Y1, length = std::hypot(dx, dy);
    if (units <= 0 || !(length > 0)) return;
    const double size = length / units;
    const TPen pen{t.Attributes[kTextLayerByte], t.Attributes[kTextPenByte]};
    AddText(ctx, pen, s, {t.X1, t.Y1, size, size, 0.0, static_cast<double>(std::atan2(dy, dx) * 180 / jw::kPi), t.Text, {}});
}

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

    ctx.Heights.Begin(o, ctx.Names);
    if (ctx.Heights.ReadsTexts())
        for (const auto& t : data.Texts) ctx.Heights.AddMark(t.Attributes[kTextLayerByte], t.X1, t.Y1, t.Text);
    for (const auto& l : data.Lines) {
        if (HiddenLayer(ctx, l.Layer) || AuxiliaryLineType(o, l.LineType) ||
            FlagBit(o.Include.Dimensions, l.Flags2, kLineDimensionBit) ||
            FlagBit(o.Include.Hatching, l.Flags1, kHatchBit))
            continue;
        if (ctx.Heights.LiftLine(ctx.Store, {l.Layer, l.PenColor}, l.X1, l.Y1, l.X2, l.Y2, s)) continue;
        primitives::EmitLine(ctx.Store, {l.Layer, l.PenColor}, primitives::Scaled(l.X1, l.Y1, s),
                             primitives::Scaled(l.X2, l.Y2, s));
    }
    for (const auto& a : data.Arcs) {
        if (HiddenLayer(ctx, a.Layer) || AuxiliaryLineType(o, a.LineType) ||
            FlagBit(o.Include.Dimensions, a.Flags, kCurveDimensionBit) ||
            FlagBit(o.Include.Hatching, a.Flags, kHatchBit))
            continue;
        const auto arc = ArcFromDegrees(a.CenterX, a.CenterY, a.Radius, a.Flattening, a.Tilt, a.StartAngle, a.EndAngle);
        if (!arc) continue;
        std::vector<primitives::TOutPoint> points;
        AppendArcPoints(o, s, *arc, points);
        if (!ctx.Heights.LiftPolyline(ctx.Store, {a.Layer, a.PenColor}, points, s)) AddPolyline(ctx, {a.Layer, a.PenColor}, points);
    }
    if (o.Include.Points) {
        for (const auto& p : data.Points) {
            if (HiddenLayer(ctx, p.Layer) || FlagBit(o.Include.Dimensions, p.Flags, kCurveDimensionBit) ||
                FlagBit(o.Include.Hatching, p.Flags, kHatchBit))
                continue;
            AddPointMarker(ctx, {p.Layer, p.PenColor}, s, p.X, p.Y);
        }
    }
    ctx.Heights.AddCaps(ctx.Store);
    if (!o.Include.Texts) {
        ctx.Texts.LeftOut = data.Texts.size();
        return;
    }
    for (const auto& t : data.Texts)
        if (!HiddenLayer(ctx, t.Attributes[kTextLayerByte]) && !ctx.Heights.IsMark(t.Text)) AddOldFormatText(ctx, t, s);
}

}  // namespace walk_detail
