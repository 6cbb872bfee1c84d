#include "figures/WalkJwwModel.h"

#include <cmath>
#include <functional>

#include "figures/Primitives.h"
#include "figures/PrimitivesEmit.h"
#include "figures/SkipRules.h"
#include "figures/TextFigures.h"
#include "formats/jww/JwwArcFields.h"
#include "formats/jww/JwwEntityModel.h"
#include "formats/jww/JwwSolidArc.h"
#include "util/DrawingFacts.h"
#include "util/OrderedTasks.h"

namespace {

using primitives::EmitLine;
using primitives::EmitQuad;
using primitives::EmitTriangle;
using primitives::Scaled;

// Corners closer than this in x and in y count as the same corner.
constexpr double kCornerTolerance = 1e-12;
// A second ellipse flatter than this has no area: the ring is drawn as a sector of the first.
constexpr double kFlatRingLimit = 1e-12;

constexpr int kHatchBit = 0x20;
constexpr int kLineDimensionBit = 0x2000;
constexpr int kCurveDimensionBit = 0x40;  // arcs and points

int32_t LayerOf(const TEntJwwCommon& c) { return JwwLayerNumber(c.layerGroup, c.layer); }
TPen PenOf(const TEntJwwCommon& c) { return {LayerOf(c), JwwPaletteIndex(c.color)}; }

class TJwwWalk {
public:
    TJwwWalk(TConversionContext& ctx, double scale) : ctx_(ctx), o_(ctx.Options), s_(scale) {}

    void Lines(const std::vector<TEntJwwSen>& lines)
    {
        for (const TEntJwwSen& l : lines) {
            const TEntJwwCommon& c = l.common;
            if (Hidden(c) || AuxType(c) || AuxColor(c) || Flag(o_.Include.Dimensions, c, kLineDimensionBit) ||
                Flag(o_.Include.Hatching, c, kHatchBit))
                continue;
            const TPen pen = PenOf(c);
            if (!ctx_.Heights.LiftLine(ctx_.Store, pen, l.startX, l.startY, l.endX, l.endY, s_)) AddSegment(l);
        }
    }

    // Only the dimension's own layer decides hiding; each part is tested for the auxiliary
    // line type and colour on its own common part. The value texts are drawn with the texts.
    void Dimensions(const std::vector<TEntJwwSunpo>& dimensions)
    {
        if (!o_.Include.Dimensions) return;
        for (const TEntJwwSunpo& d : dimensions) {
            if (Hidden(d.common)) continue;
            DimensionLine(d.line);
            if (d.sxfMode == 0) continue;
            DimensionLine(d.auxLine1);
            DimensionLine(d.auxLine2);
            DimensionPoint(d.point1);
            DimensionPoint(d.point2);
        }
    }

    // The arcs' points (their sines and cosines, most of the walk's work) are worked out in
    // batches, on several threads when there are many, and stored in order on this thread.
    // `before` (the walk of what precedes the arcs) runs first on this thread, while the
    // workers start on the points: up to kArcBatchesAhead batches may wait for it.
    void Arcs(const std::vector<TEntJwwEnko>& arcs, const std::function<void()>& before)
    {
        const std::vector<TArcBatchStart> starts = ArcBatchStarts(arcs);
        const unsigned threads = ctx_.ThreadsFor(starts.back().points);
        // Step 0 is `before`; step b + 1 stores batch b.
        RunInOrder<TArcBatch>(
            starts.size(), threads, kArcBatchesAhead,
            [&](size_t step) { return step == 0 ? TArcBatch{} : ArcBatch(arcs, starts[step - 1].arc, starts[step].arc); },
            [&](size_t step, TArcBatch&& batch) {
                if (step == 0) before();
                size_t first = 0;
                for (const auto& [pen, count] : batch.runs) {
                    const auto points = std::span(batch.points).subspan(first, count);
                    if (!ctx_.Heights.LiftPolyline(ctx_.Store, pen, points, s_)) AddPolyline(ctx_, pen, points);
                    first += count;
                }
            });
    }

    // Every point becomes a marker of the chosen shape; code, rotation and scale play no part.
    void Points(const std::vector<TEntJwwTen>& points)
    {
        if (!o_.Include.Points) return;
        for (const TEntJwwTen& p : points) {
            const TEntJwwCommon& c = p.common;
            if (p.temporary != 0 || Hidden(c) || AuxColor(c) || Flag(o_.Include.Dimensions, c, kCurveDimensionBit) ||
                Flag(o_.Include.Hatching, c, kHatchBit))
                continue;
            AddPointMarker(ctx_, PenOf(c), s_, p.x, p.y);
        }
    }

    void Solids(const std::vector<TEntJwwSolid>& solids)
    {
        if (!o_.Include.Solids) return;
        for (const TEntJwwSolid& solid : solids) {
            const TEntJwwCommon& c = solid.common;
            if (Hidden(c) || AuxColor(c) || Flag(o_.Include.Hatching, c, kHatchBit)) continue;
            TPen pen = PenOf(c);
            if (c.color == jw::kOwnColorPen) pen.color = FillIndex(solid.fillColor);
            if (c.lineType <= jw::kPolygonSolidMax) Polygon(solid, pen);
            else ArcShape(solid, pen);
        }
    }

    // Every text that is a height text marks its start point, for the lines walked after.
    void Marks(const std::vector<TEntJwwMoji>& texts)
    {
        if (!ctx_.Heights.ReadsTexts()) return;
        ctx_.Heights.ReserveMarks(texts.size());
        for (const TEntJwwMoji& t : texts) ctx_.Heights.AddMark(LayerOf(t.common), t.startX, t.startY, t.text);
    }

    // Texts, then the value texts of the dimensions converted, after every other entity. The
    // drawing's own texts are `ownTexts` (the rest were placed with blocks); height texts are
    // data, not drawn.
    void Texts(const std::vector<TEntJwwMoji>& texts, size_t ownTexts, const std::vector<TEntJwwSunpo>& dimensions)
    {
        if (!o_.Include.Texts) {
            ctx_.Texts.LeftOut = ownTexts;
            return;
        }
        for (const TEntJwwMoji& t : texts)
            if (!Hidden(t.common) && !ctx_.Heights.IsMark(t.text)) Text(t);
        if (!o_.Include.Dimensions) return;
        for (const TEntJwwSunpo& d : dimensions)
            if (!Hidden(d.common)) Text(d.text);
    }

private:
    void Text(const TEntJwwMoji& t)
    {
        if (AuxType(t.common) || AuxColor(t.common)) return;
        AddText(ctx_, PenOf(t.common), s_,
                {t.startX, t.startY, t.sizeX, t.sizeY, t.spacing, t.angle, t.text, t.fontName});
    }

    // A batch of arcs' points, and the pen and number of points of each arc in it.
    struct TArcBatch {
        std::vector<primitives::TOutPoint> points;
        std::vector<std::pair<TPen, size_t>> runs;
    };
    static constexpr size_t kArcBatchPoints = 16384;
    static constexpr size_t kArcBatchesAhead = 96;  // about 27 MB

    bool Drawn(const TEntJwwEnko& a) const
    {
        const TEntJwwCommon& c = a.common;
        return !(Hidden(c) || AuxType(c) || AuxColor(c) || Flag(o_.Include.Dimensions, c, kCurveDimensionBit) ||
                 Flag(o_.Include.Hatching, c, kHatchBit));
    }
    static TEllipticArc DrawnArc(const TEntJwwEnko& a)
    {
        const TEllipticArc arc = ArcOf(a, kArcRecordFields);
        return a.fullCircle == 1 ? WholeEllipse(arc) : arc;
    }

    struct TArcBatchStart {
        size_t arc;     // the batch's first arc
        size_t points;  // drawn before it
    };
    // Splits the arcs into batches of about kArcBatchPoints points; the last start is
    // (arcs.size(), every point).
    std::vector<TArcBatchStart> ArcBatchStarts(const std::vector<TEntJwwEnko>& arcs) const
    {
        std::vector<TArcBatchStart> starts{{0, 0}};
        size_t points = 0, inBatch = 0;
        for (size_t i = 0; i < arcs.size(); ++i) {
            if (!Drawn(arcs[i])) continue;
            const TEllipticArc arc = DrawnArc(arcs[i]);
            const size_t n = static_cast<size_t>(ArcDivisionCount(o_, arc.radius, arc.sweep)) + 1;
            if (inBatch > 0 && inBatch + n > kArcBatchPoints) {
                starts.push_back({i, points});
                inBatch = 0;
            }
            points += n;
            inBatch += n;
        }
        starts.push_back({arcs.size(), points});
        return starts;
    }

    TArcBatch ArcBatch(const std::vector<TEntJwwEnko>& arcs, size_t first, size_t last) const
    {
        TArcBatch batch;
        for (size_t i = first; i < last; ++i) {
            if (!Drawn(arcs[i])) continue;
            const size_t before = batch.points.size();
            AppendArcPoints(o_, s_, DrawnArc(arcs[i]), batch.points);
            batch.runs.emplace_back(PenOf(arcs[i].common), batch.points.size() - before);
        }
        return batch;
    }

    bool Hidden(const TEntJwwCommon& c) const { return skip_rules::HiddenLayer(ctx_, LayerOf(c)); }
    bool AuxType(const TEntJwwCommon& c) const { return skip_rules::AuxiliaryLineType(o_, c.lineType); }
    bool AuxColor(const TEntJwwCommon& c) const { return !o_.Include.Auxiliary && c.color == jw::kAuxiliaryPen; }
    static bool Flag(bool included, const TEntJwwCommon& c, int bit) { return skip_rules::FlagBit(included, c.flags, bit); }

    void AddSegment(const TEntJwwSen& l)
    {
        EmitLine(ctx_.Store, PenOf(l.common), Scaled(l.startX, l.startY, s_), Scaled(l.endX, l.endY, s_));
    }

    void DimensionLine(const TEntJwwSen& l)
    {
        if (AuxType(l.common) || AuxColor(l.common)) return;
        AddSegment(l);
    }

    // Dimension points are markers whatever the point option says.
    void DimensionPoint(const TEntJwwTen& p)
    {
        if (AuxColor(p.common)) return;
        AddPointMarker(ctx_, PenOf(p.common), s_, p.x, p.y);
    }

    // The palette does not change while solids are drawn, so the last answer is kept: runs of
    // solids in one fill colour cost one palette search.
    int32_t FillIndex(uint32_t fill)
    {
        if (!fillCached_ || fill != cachedFill_) {
            cachedFill_ = fill;
            cachedIndex_ = ctx_.Store.PaletteIndexOf(static_cast<int32_t>(fill));
            fillCached_ = true;
        }
        return cachedIndex_;
    }

    static bool SameCorner(double ax, double ay, double bx, double by)
    {
        return std::fabs(ax - bx) < kCornerTolerance && std::fabs(ay - by) < kCornerTolerance;
    }

    // P2 = P3: a line P1-P2; else P4 = P3: a triangle; else a quadrilateral.
    void Polygon(const TEntJwwSolid& q, TPen pen)
    {
        const auto p1 = Scaled(q.x1, q.y1, s_), p2 = Scaled(q.x2, q.y2, s_), p3 = Scaled(q.x3, q.y3, s_);
        if (SameCorner(q.x2, q.y2, q.x3, q.y3)) EmitLine(ctx_.Store, pen, p1, p2);
        else if (SameCorner(q.x4, q.y4, q.x3, q.y3)) EmitTriangle(ctx_.Store, pen, p1, p2, p3);
        else EmitQuad(ctx_.Store, pen, p1, p2, p3, Scaled(q.x4, q.y4, s_));
    }

    // A ring whose second ellipse is too flat to have an area, or has no second radius, is
    // drawn as the sector of its first ellipse.
    void ArcShape(const TEntJwwSolid& q, TPen pen)
    {
        const TSolidArc d = DecodeSolidArc(q, EFlatnessPrecision::Double);
        const TEllipticArc arc = d.whole ? WholeEllipse(d.arc) : d.arc;
        switch (d.shape) {
        case ESolidArcShape::Outline: AddArcLines(ctx_, pen, s_, arc); break;
        case ESolidArcShape::Sector: AddSectorFan(ctx_, pen, s_, arc); break;
        case ESolidArcShape::SegmentFan: AddSegmentFan(ctx_, pen, s_, arc); break;
        case ESolidArcShape::CornerFan: AddCornerFan(ctx_, pen, s_, arc); break;
        case ESolidArcShape::Ring:
            if (d.secondFlatness <= kFlatRingLimit) AddSectorFan(ctx_, pen, s_, arc);
            else AddRingQuads(ctx_, pen, s_, arc, d.secondRadius, d.secondFlatness);
            break;
        }
    }

    TConversionContext& ctx_;
    const TConversionOptions& o_;
    double s_;
    bool fillCached_ = false;
    uint32_t cachedFill_ = 0;
    int32_t cachedIndex_ = 0;
};

}  // namespace

void WalkJwwModel(TJwwEntityModel& model, double scale, TConversionContext& context)
{
    context.Store.ResetPalette(context.Attributes);
    // A failed expansion still leaves every entity already in the lists to convert. Placed
    // texts are needed to be drawn or to mark heights.
    const size_t ownTexts = model.texts.size();
    context.Heights.Begin(context.Options, context.Names);
    if (!model.ExpandBlocks(context.Options.Include.Texts || context.Heights.ReadsTexts())) context.BlocksCut = true;
    // Fill colours are registered for every pen-10 solid, also those skipped later, so the
    // palette does not depend on the options.
    for (const TEntJwwSolid& solid : model.solids)
        if (solid.common.color == jw::kOwnColorPen) context.Store.AddPaletteColor(static_cast<int32_t>(solid.fillColor));
    context.Store.ClearFigures();

    TJwwWalk walk(context, scale);
    walk.Marks(model.texts);
    walk.Arcs(model.arcs, [&] {
        walk.Lines(model.lines);
        walk.Dimensions(model.dimensions);
    });
    walk.Points(model.points);
    walk.Solids(model.solids);
    context.Heights.AddCaps(context.Store);
    walk.Texts(model.texts, ownTexts, model.dimensions);
}
