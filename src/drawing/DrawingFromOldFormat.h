#pragma once
// The drawing of a JWC drawing or a JWK symbol file: lines, arcs and points with their layer
// and pen bytes, texts fitted between their start and end points, under the walk's skip rules.
#include <cmath>

#include "drawing/DefaultLineTypes.h"
#include "drawing/DrawingBuilder.h"
#include "figures/SkipRules.h"
#include "formats/jww/Cp932Decoder.h"
#include "text/TextLayout.h"

namespace drawing {

template <typename Model>
void DrawOldFormat(const Model& data, double scale, TConversionContext& ctx)
{
    constexpr int kHatchBit = 0x20, kLineDimensionBit = 0x20, kCurveDimensionBit = 0x40;
    constexpr size_t kTextPenByte = 1, kTextLayerByte = 2;
    using skip_rules::AuxiliaryLineType;
    using skip_rules::FlagBit;
    using skip_rules::HiddenLayer;
    TDrawingBuilder b(ctx, scale);
    b.SetLineTypes(DefaultLineTypes(), "JW_");
    TDrawing& d = b.Drawing();
    for (size_t i = 0; i < d.layers.size(); ++i) {
        d.layers[i].groupName = ctx.Names.Groups[i / jw::kLayersPerGroup];
        d.layers[i].name = ctx.Names.Layers[i];
    }
    const TConversionOptions& o = ctx.Options;
    const double s = b.Scale();
    for (const auto& l : data.Lines) {
        if (HiddenLayer(ctx, l.Layer) || AuxiliaryLineType(o, l.LineType) ||
            FlagBit(o.Include.Dimensions, l.Flags2, kLineDimensionBit) || FlagBit(o.Include.Hatching, l.Flags1, kHatchBit))
            continue;
        const TLine line{b.Attributes(l.Layer, b.PenColor(l.PenColor), l.LineType, 0), l.X1 * s, l.Y1 * s, l.X2 * s,
                         l.Y2 * s};
        if (!b.Fits({line.x1, line.y1, line.x2, line.y2})) continue;
        b.Spend(1);
        d.model.lines.push_back(line);
    }
    for (const auto& a : data.Arcs) {
        if (HiddenLayer(ctx, a.Layer) || AuxiliaryLineType(o, a.LineType) ||
            FlagBit(o.Include.Dimensions, a.Flags, kCurveDimensionBit) || FlagBit(o.Include.Hatching, a.Flags, kHatchBit))
            continue;
        auto arc = ArcFromDegrees(a.CenterX, a.CenterY, a.Radius, a.Flattening, a.Tilt, a.StartAngle, a.EndAngle);
        if (!arc) continue;
        const bool whole = arc->start == 0 && arc->sweep == kFullTurn;
        const size_t figures = b.ArcFigures(arc->radius, arc->sweep);
        arc->x *= s;
        arc->y *= s;
        arc->radius *= s;
        if (!b.Fits({arc->x, arc->y, arc->radius, arc->flatness, arc->tilt, arc->start}) || arc->radius == 0) continue;
        b.Spend(figures);
        d.model.arcs.push_back({b.Attributes(a.Layer, b.PenColor(a.PenColor), a.LineType, 0), *arc, whole});
    }
    if (o.Include.Points) {
        for (const auto& p : data.Points) {
            if (HiddenLayer(ctx, p.Layer) || FlagBit(o.Include.Dimensions, p.Flags, kCurveDimensionBit) ||
                FlagBit(o.Include.Hatching, p.Flags, kHatchBit))
                continue;
            const TPoint point{b.Attributes(p.Layer, b.PenColor(p.PenColor), 1, 0), p.X * s, p.Y * s};
            if (!b.Fits({point.x, point.y})) continue;
            b.Spend(b.MarkerFigures());
            d.model.points.push_back(point);
        }
    }
    if (!o.Include.Texts) return;
    // No size is stored: the characters fill the line from start to end, as tall as wide.
    for (const auto& t : data.Texts) {
        const int32_t layer = t.Attributes[kTextLayerByte];
        if (HiddenLayer(ctx, layer)) continue;
        const double units = TextLength(LayOutText(t.Text, 1.0, 0.0));
        const double dx = (double{t.X2} - t.X1) * s, dy = (double{t.Y2} - t.Y1) * s, length = std::hypot(dx, dy);
        if (!(units > 0) || !(length > 0)) continue;
        TText text;
        text.a = b.Attributes(layer, b.PenColor(t.Attributes[kTextPenByte]), 1, 0);
        text.x = t.X1 * s;
        text.y = t.Y1 * s;
        text.endX = t.X2 * s;
        text.endY = t.Y2 * s;
        text.height = length / units;
        text.angle = std::atan2(dy, dx) * 180 / static_cast<double>(jw::kPi);
        text.fit = true;
        text.text = Cp932ToUtf8(t.Text);
        if (text.text.empty() || !b.Fits({text.x, text.y, text.endX, text.endY, text.height})) continue;
        b.Spend(t.Text.size());
        d.model.texts.push_back(std::move(text));
    }
}

}  // namespace drawing
