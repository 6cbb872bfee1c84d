#include "drawing/DrawingFromJww.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>

#include "drawing/DefaultLineTypes.h"
#include "drawing/DrawingBuilder.h"
#include "drawing/SolidRegion.h"
#include "figures/SkipRules.h"
#include "figures/WalkJwwModel.h"
#include "formats/jww/Cp932Decoder.h"
#include "formats/jww/JwwArcFields.h"
#include "formats/jww/JwwSolidArc.h"
#include "formats/jww/jwwunit.h"

namespace drawing {

namespace {

constexpr int kHatchBit = 0x20;
constexpr int kLineDimensionBit = 0x2000;
constexpr int kCurveDimensionBit = 0x40;
constexpr double kCornerTolerance = 1e-12;  // as the walk: corners this close are one
constexpr double kSquareTolerance = 1e-9;   // extension lines this close to square on the line

// The line types of a drawing's own table (types 2..9), each dot its print pitch.
std::unordered_map<int32_t, TDotPattern> JwwLineTypes(const TJwwData* tables)
{
    if (tables == nullptr || tables->lineTypes.size() < 8) return DefaultLineTypes();
    std::unordered_map<int32_t, TDotPattern> patterns;
    for (int32_t n = 2; n <= 9; ++n) {
        const TEntJwwLineType& t = tables->lineTypes[static_cast<size_t>(n - 2)];
        const int32_t pitch = t.printerPitch > 0 ? t.printerPitch : t.pitch;
        patterns[n] = {t.pattern, t.unitDots, pitch * kPaperMmPerDot};
    }
    return patterns;
}

// A placement's own map: scale, then rotate, then move.
TBlockTransform PlacementMap(const TEntJwwBlock& b, const TBlockTransform& outer)
{
    const long double c = std::cos(static_cast<long double>(b.rotation));
    const long double s = std::sin(static_cast<long double>(b.rotation));
    const long double m00 = b.scaleX * c, m01 = -b.scaleY * s, m10 = b.scaleX * s, m11 = b.scaleY * c;
    TBlockTransform t;
    t.originX = static_cast<double>(outer.originX + outer.m00 * static_cast<long double>(b.x) + outer.m01 * b.y);
    t.originY = static_cast<double>(outer.originY + outer.m10 * static_cast<long double>(b.x) + outer.m11 * b.y);
    t.m00 = static_cast<double>(outer.m00 * m00 + outer.m01 * m10);
    t.m01 = static_cast<double>(outer.m00 * m01 + outer.m01 * m11);
    t.m10 = static_cast<double>(outer.m10 * m00 + outer.m11 * m10);
    t.m11 = static_cast<double>(outer.m10 * m01 + outer.m11 * m11);
    return t;
}

// A placement a block can hold: finite, with both scales non-zero.
bool Placeable(const TEntJwwBlock& b)
{
    return std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.rotation) && std::isfinite(b.scaleX) &&
           std::isfinite(b.scaleY) && b.scaleX != 0 && b.scaleY != 0;
}

size_t SaturatingAdd(size_t a, size_t b) { return a > std::numeric_limits<size_t>::max() - b ? SIZE_MAX : a + b; }

class TJwwDrawing {
public:
    TJwwDrawing(TJwwEntityModel& model, const TJwwData* tables, double scale, TConversionContext& ctx)
        : m_(model), tables_(tables), ctx_(ctx), o_(ctx.Options), b_(ctx, scale), s_(b_.Scale())
    {
        b_.SetLineTypes(JwwLineTypes(tables), "JW_");
    }

    void Run()
    {
        TDrawing& d = b_.Drawing();
        for (size_t i = 0; i < d.layers.size(); ++i) {
            d.layers[i].groupName = ctx_.Names.Groups[i / jw::kLayersPerGroup];
            d.layers[i].name = ctx_.Names.Layers[i];
        }
        IndexDefinitions();
        // Exploded placements first: their members join the drawing's own lists.
        for (const TEntJwwBlock& insert : m_.blockInserts)
            if (!Kept(insert)) Explode(insert);
        spending_ = true;
        Records(m_, false, d.model);
        for (const TEntJwwBlock& insert : m_.blockInserts)
            if (Kept(insert)) Insert(insert, insert.common, d.model);
        spending_ = false;
        // Blocks are filled after the placements that asked for them, one at a time, so
        // that a deep chain of definitions needs no deep recursion.
        for (size_t next = 0; next < pending_.size(); ++next) {
            const auto [def, keepOwn, block] = pending_[next];
            const TEntJwwBlockDef& definition = m_.blockDefs[static_cast<size_t>(def)];
            TEntities& members = d.blocks[static_cast<size_t>(block)].entities;
            Records(definition.records, !keepOwn, members);
            for (const TEntJwwBlock& nested : definition.records.blockInserts)
                if (Definition(nested.blockNumber) >= 0 && Placeable(nested))
                    Insert(nested, definition.common, members);
        }
    }

private:
    // Definitions by number (the first of a number wins), which of them a block can hold,
    // and the Figures each would make placed once.
    void IndexDefinitions()
    {
        for (size_t i = 0; i < m_.blockDefs.size(); ++i)
            byNumber_.emplace(m_.blockDefs[i].number, static_cast<int32_t>(i));
        const size_t n = m_.blockDefs.size();
        exploded_.assign(n, false);
        cost_.assign(n, 0);
        blockOf_[0].assign(n, -1);
        blockOf_[1].assign(n, -1);
        // Hidden layers left out: a member's layer depends on its placement, so every
        // placement is exploded where its layer is known.
        bool anyHidden = false;
        for (int l = 0; l < jw::kLayerCount; ++l) anyHidden = anyHidden || skip_rules::HiddenLayer(ctx_, l);
        // Depth first without recursion: 0 unseen, 1 on the path, 2 done. A definition that
        // reaches one on the path (a cycle) or an exploded one is exploded itself.
        std::vector<uint8_t> state(n, 0);
        struct TFrame {
            int32_t def;
            size_t next;
        };
        std::vector<TFrame> path;
        for (size_t root = 0; root < n; ++root) {
            if (state[root] != 0) continue;
            path.push_back({static_cast<int32_t>(root), 0});
            state[root] = 1;
            while (!path.empty()) {
                TFrame& top = path.back();
                const auto def = static_cast<size_t>(top.def);
                const std::vector<TEntJwwBlock>& nested = m_.blockDefs[def].records.blockInserts;
                if (top.next == nested.size()) {
                    cost_[def] = SaturatingAdd(cost_[def], OwnFigures(m_.blockDefs[def].records));
                    exploded_[def] = exploded_[def] || anyHidden;
                    state[def] = 2;
                    path.pop_back();
                    if (!path.empty()) {
                        const auto parent = static_cast<size_t>(path.back().def);
                        exploded_[parent] = exploded_[parent] || exploded_[def];
                        cost_[parent] = SaturatingAdd(cost_[parent], cost_[def]);
                    }
                    continue;
                }
                const int32_t child = Definition(nested[top.next++].blockNumber);
                if (child < 0) continue;
                const auto c = static_cast<size_t>(child);
                if (state[c] == 1) {
                    exploded_[def] = true;
                } else if (state[c] == 2) {
                    exploded_[def] = exploded_[def] || exploded_[c];
                    cost_[def] = SaturatingAdd(cost_[def], cost_[c]);
                } else {
                    state[c] = 1;
                    path.push_back({child, 0});
                }
            }
        }
    }

    int32_t Definition(uint32_t number) const
    {
        const auto hit = byNumber_.find(number);
        return hit == byNumber_.end() ? -1 : hit->second;
    }

    bool Kept(const TEntJwwBlock& insert) const
    {
        const int32_t def = Definition(insert.blockNumber);
        return def < 0 || (Placeable(insert) && !exploded_[static_cast<size_t>(def)]);
    }

    // Every member mapped into the drawing's lists, through the block expansion's own steps,
    // nested placements with them, depth first with a mark on each definition of the current
    // chain: a definition already on it is not placed again. Every nested placement looked at
    // is work, bounded as the block trees are.
    void Explode(const TEntJwwBlock& insert)
    {
        struct TFrame {
            TEntJwwBlockTree tree;
            size_t next = 0;  // the next nested placement of its definition
        };
        onChain_.resize(m_.blockDefs.size(), 0);
        std::vector<TFrame> chain;
        auto enter = [&](const TEntJwwCommon& common, int32_t def, const TBlockTransform& map) {
            if (++placements_ > TJwwEntityModel::kMaxBlockTrees) return false;
            TFrame frame;
            frame.tree.common = common;
            frame.tree.defIndex = def;
            frame.tree.transform = map;
            if (!ExplodeMembers(m_.blockDefs[static_cast<size_t>(def)], frame.tree)) return false;
            onChain_[static_cast<size_t>(def)] = 1;
            chain.push_back(std::move(frame));
            return true;
        };
        if (!enter(insert.common, Definition(insert.blockNumber), PlacementMap(insert, TBlockTransform{}))) return Cut();
        while (!chain.empty()) {
            TFrame& top = chain.back();
            const TEntJwwBlockDef& def = m_.blockDefs[static_cast<size_t>(top.tree.defIndex)];
            if (top.next == def.records.blockInserts.size()) {
                onChain_[static_cast<size_t>(top.tree.defIndex)] = 0;
                chain.pop_back();
                continue;
            }
            const TEntJwwBlock& nested = def.records.blockInserts[top.next++];
            if (++work_ > kMaxExplodeWork) return Cut();
            const int32_t child = Definition(nested.blockNumber);
            if (child < 0 || onChain_[static_cast<size_t>(child)]) continue;
            const TBlockTransform map = PlacementMap(nested, top.tree.transform);
            if (!enter(def.common, child, map)) return Cut();
        }
    }

    // Leaves every mark cleared for the next placement, also when one stopped early.
    void Cut()
    {
        ctx_.BlocksCut = true;
        std::fill(onChain_.begin(), onChain_.end(), 0);
    }

    bool ExplodeMembers(const TEntJwwBlockDef& def, const TEntJwwBlockTree& tree)
    {
        const TJwwRecordLists& r = def.records;
        for (const TEntJwwIndex& member : def.members) {
            const auto i = static_cast<size_t>(member.index);
            auto has = [i](const auto& list) { return i < list.size(); };
            bool ok = true;
            switch (static_cast<EJwwKind>(member.kind)) {
            case EJwwKind::Line: ok = !has(r.lines) || m_.AddBlockLine(r.lines[i], tree); break;
            case EJwwKind::Arc: ok = !has(r.arcs) || m_.AddBlockArc(r.arcs[i], tree); break;
            case EJwwKind::Point: ok = !has(r.points) || m_.AddBlockPoint(r.points[i], tree); break;
            case EJwwKind::Dimension: ok = !has(r.dimensions) || m_.AddBlockDimension(r.dimensions[i], tree); break;
            case EJwwKind::Solid: ok = !has(r.solids) || m_.AddBlockSolid(r.solids[i], tree); break;
            case EJwwKind::Text: ok = !o_.Include.Texts || !has(r.texts) || m_.AddBlockText(r.texts[i], tree); break;
            default: break;
            }
            if (!ok) return false;
        }
        return true;
    }

    // A placement of a block; `from` is the common part whose layer its members take (the
    // insert's own in the drawing, the enclosing definition's inside a block).
    void Insert(const TEntJwwBlock& insert, const TEntJwwCommon& from, TEntities& out)
    {
        const int32_t def = Definition(insert.blockNumber);
        if (def < 0 || !b_.Fits({insert.x * s_, insert.y * s_})) return;
        if (spending_) b_.Spend(cost_[static_cast<size_t>(def)]);
        const bool keepOwn = (from.lineType & TEntJwwBlockTree::kKeepOwnLayer) != 0;
        TInsert placed;
        const int32_t layer = JwwLayerNumber(from.layerGroup, from.layer);
        placed.a = b_.Attributes(layer, b_.PenColor(JwwPaletteIndex(insert.common.color)), 1, 0);
        placed.block = BlockFor(def, keepOwn);
        placed.x = insert.x * s_;
        placed.y = insert.y * s_;
        placed.scaleX = insert.scaleX;
        placed.scaleY = insert.scaleY;
        placed.rotation = insert.rotation;
        out.inserts.push_back(placed);
    }

    int32_t BlockFor(int32_t def, bool keepOwn)
    {
        int32_t& block = blockOf_[keepOwn ? 1 : 0][static_cast<size_t>(def)];
        if (block >= 0) return block;
        TDrawing& d = b_.Drawing();
        block = static_cast<int32_t>(d.blocks.size());
        d.blocks.push_back({Cp932ToUtf8(m_.blockDefs[static_cast<size_t>(def)].name), {}});
        pending_.push_back({def, keepOwn, block});
        return block;
    }

    size_t OwnFigures(const TJwwRecordLists& r) const
    {
        size_t figures = r.lines.size() + r.points.size() * b_.MarkerFigures() + r.solids.size() * 2 +
                         r.dimensions.size() * 3;
        for (const TEntJwwEnko& a : r.arcs) figures = SaturatingAdd(figures, b_.ArcFigures(a.radius, a.arcAngle));
        for (const TEntJwwMoji& t : r.texts) figures = SaturatingAdd(figures, t.text.size());
        return figures;
    }

    // ---- records into entities; `inherit`: block members that take their placement's layer

    int32_t Layer(const TEntJwwCommon& c, bool inherit) const
    {
        return inherit ? TAttributes::kInheritLayer : JwwLayerNumber(c.layerGroup, c.layer);
    }
    TAttributes Attr(const TEntJwwCommon& c, bool inherit, uint32_t color)
    {
        return b_.Attributes(Layer(c, inherit), color, c.lineType,
                             static_cast<int32_t>(std::lround(LineWidth(c) * kPaperMmPerDot * 100)));
    }
    TAttributes Attr(const TEntJwwCommon& c, bool inherit) { return Attr(c, inherit, b_.PenColor(JwwPaletteIndex(c.color))); }

    // The entity's own width, else its pen's print width, in print dots.
    int32_t LineWidth(const TEntJwwCommon& c) const
    {
        if (c.lineWidth != 0) return c.lineWidth;
        if (tables_ == nullptr) return 0;
        if (c.color >= 1 && c.color < tables_->pens.size()) return tables_->pens[c.color].printerWidth;
        const int32_t ex = c.color - jw::kExtendedPenBase;
        if (tables_->colorsExRead && ex >= 1 && static_cast<size_t>(ex) < tables_->colorsEx.size())
            return tables_->colorsEx[static_cast<size_t>(ex)].printerWidth;
        return 0;
    }

    bool Hidden(const TEntJwwCommon& c, bool inherit) const
    {
        return !inherit && skip_rules::HiddenLayer(ctx_, JwwLayerNumber(c.layerGroup, c.layer));
    }
    bool AuxType(const TEntJwwCommon& c) const { return skip_rules::AuxiliaryLineType(o_, c.lineType); }
    bool AuxColor(const TEntJwwCommon& c) const { return !o_.Include.Auxiliary && c.color == jw::kAuxiliaryPen; }
    static bool Flag(bool included, const TEntJwwCommon& c, int bit) { return skip_rules::FlagBit(included, c.flags, bit); }

    void Spend(size_t figures)
    {
        if (spending_) b_.Spend(figures);
    }

    void Records(const TJwwRecordLists& r, bool inherit, TEntities& out)
    {
        for (const TEntJwwSen& l : r.lines) {
            const TEntJwwCommon& c = l.common;
            if (Hidden(c, inherit) || AuxType(c) || AuxColor(c) || Flag(o_.Include.Dimensions, c, kLineDimensionBit) ||
                Flag(o_.Include.Hatching, c, kHatchBit))
                continue;
            Line(l, inherit, out);
        }
        for (const TEntJwwEnko& a : r.arcs) {
            const TEntJwwCommon& c = a.common;
            if (Hidden(c, inherit) || AuxType(c) || AuxColor(c) || Flag(o_.Include.Dimensions, c, kCurveDimensionBit) ||
                Flag(o_.Include.Hatching, c, kHatchBit))
                continue;
            Arc(a, inherit, out);
        }
        if (o_.Include.Points) {
            for (const TEntJwwTen& p : r.points) {
                const TEntJwwCommon& c = p.common;
                if (p.temporary != 0 || Hidden(c, inherit) || AuxColor(c) ||
                    Flag(o_.Include.Dimensions, c, kCurveDimensionBit) || Flag(o_.Include.Hatching, c, kHatchBit))
                    continue;
                Point(p, inherit, out);
            }
        }
        if (o_.Include.Dimensions) {
            for (const TEntJwwSunpo& dim : r.dimensions)
                if (!Hidden(dim.common, inherit)) Dimension(dim, inherit, out);
        }
        if (o_.Include.Solids) {
            for (const TEntJwwSolid& solid : r.solids) {
                const TEntJwwCommon& c = solid.common;
                if (Hidden(c, inherit) || AuxColor(c) || Flag(o_.Include.Hatching, c, kHatchBit)) continue;
                Solid(solid, inherit, out);
            }
        }
        if (o_.Include.Texts) {
            for (const TEntJwwMoji& t : r.texts)
                if (!Hidden(t.common, inherit)) Text(t, inherit, out);
        }
    }

    void Line(const TEntJwwSen& l, bool inherit, TEntities& out)
    {
        const TLine line{Attr(l.common, inherit), l.startX * s_, l.startY * s_, l.endX * s_, l.endY * s_};
        if (!b_.Fits({line.x1, line.y1, line.x2, line.y2})) return;
        Spend(1);
        out.lines.push_back(line);
    }

    void Arc(const TEntJwwEnko& a, bool inherit, TEntities& out)
    {
        TArc arc{Attr(a.common, inherit), ArcOf(a, kArcRecordFields), a.fullCircle == 1};
        if (arc.whole) arc.arc = WholeEllipse(arc.arc);
        arc.arc.x *= s_;
        arc.arc.y *= s_;
        arc.arc.radius *= s_;
        const TEllipticArc& e = arc.arc;
        if (!b_.Fits({e.x, e.y, e.radius, e.flatness, e.tilt, e.start, e.sweep}) || e.radius == 0) return;
        Spend(b_.ArcFigures(a.radius, arc.arc.sweep));
        out.arcs.push_back(arc);
    }

    void Point(const TEntJwwTen& p, bool inherit, TEntities& out)
    {
        const TPoint point{Attr(p.common, inherit), p.x * s_, p.y * s_};
        if (!b_.Fits({point.x, point.y})) return;
        Spend(b_.MarkerFigures());
        out.points.push_back(point);
    }

    // The dimension's line, its extension lines and end points where the drawing has them,
    // and its value text: a linear dimension drawn by them where its extension lines stand
    // square on its line, else these parts on their own.
    void Dimension(const TEntJwwSunpo& dim, bool inherit, TEntities& out)
    {
        TEntities parts;
        auto line = [&](const TEntJwwSen& l) {
            if (!AuxType(l.common) && !AuxColor(l.common)) Line(l, inherit, parts);
        };
        line(dim.line);
        if (dim.sxfMode != 0) {
            line(dim.auxLine1);
            line(dim.auxLine2);
            for (const TEntJwwTen* p : {&dim.point1, &dim.point2})
                if (!AuxColor(p->common)) Point(*p, inherit, parts);
        }
        if (o_.Include.Texts) Text(dim.text, inherit, parts);
        std::optional<TDimension> linear = LinearDimension(dim, inherit, parts);
        if (!linear) return Append(std::move(parts), out);
        TDrawing& d = b_.Drawing();
        linear->block = static_cast<int32_t>(d.blocks.size());
        d.blocks.push_back({"", std::move(parts), true});
        out.dimensions.push_back(std::move(*linear));
    }

    std::optional<TDimension> LinearDimension(const TEntJwwSunpo& dim, bool inherit, const TEntities& parts)
    {
        if (dim.sxfMode == 0 || parts.lines.empty()) return std::nullopt;
        const double sx = dim.line.startX * s_, sy = dim.line.startY * s_;
        const double length = std::hypot(dim.line.endX * s_ - sx, dim.line.endY * s_ - sy);
        if (!(length > 0) || !std::isfinite(length)) return std::nullopt;
        const double ux = (dim.line.endX * s_ - sx) / length, uy = (dim.line.endY * s_ - sy) / length;
        // Each extension line's end away from the dimension line is where it measures from.
        std::array<std::pair<double, double>, 2> origins;
        for (size_t i = 0; i < 2; ++i) {
            const TEntJwwSen& aux = i == 0 ? dim.auxLine1 : dim.auxLine2;
            const double ax = aux.startX * s_, ay = aux.startY * s_, bx = aux.endX * s_, by = aux.endY * s_;
            const double along = std::hypot(bx - ax, by - ay);
            if (!(along > 0) || std::fabs((bx - ax) * ux + (by - ay) * uy) > kSquareTolerance * along)
                return std::nullopt;
            const double da = std::fabs((ax - sx) * -uy + (ay - sy) * ux), db = std::fabs((bx - sx) * -uy + (by - sy) * ux);
            origins[i] = da >= db ? std::pair{ax, ay} : std::pair{bx, by};
        }
        TDimension d;
        d.a = Attr(dim.common, inherit);
        d.x1 = origins[0].first, d.y1 = origins[0].second;
        d.x2 = origins[1].first, d.y2 = origins[1].second;
        const double at = (d.x2 - sx) * ux + (d.y2 - sy) * uy;
        d.lineX = sx + ux * at, d.lineY = sy + uy * at;
        d.angle = std::atan2(uy, ux) * 180 / static_cast<double>(jw::kPi);
        d.measurement = std::fabs((d.x2 - d.x1) * ux + (d.y2 - d.y1) * uy);
        // The value as the drawing shows it; a single space shows none, as the text is left out.
        d.value.assign(1, ' ');
        d.textX = (sx + dim.line.endX * s_) / 2, d.textY = (sy + dim.line.endY * s_) / 2;
        if (!parts.texts.empty()) {
            const TText& t = parts.texts.back();
            const double turn = t.angle / 180 * static_cast<double>(jw::kPi);
            const double ex = t.fit ? t.endX : t.x + std::cos(turn) * t.height, ey = t.fit ? t.endY : t.y + std::sin(turn) * t.height;
            d.value = t.text;
            if (!dimensionTextSet_) b_.Drawing().dimensionTextHeight = t.height / s_, dimensionTextSet_ = true;
            d.textX = (t.x + ex) / 2 - std::sin(turn) * t.height / 2;
            d.textY = (t.y + ey) / 2 + std::cos(turn) * t.height / 2;
        }
        if (!b_.Fits({d.x1, d.y1, d.x2, d.y2, d.lineX, d.lineY, d.textX, d.textY, d.measurement})) return std::nullopt;
        return d;
    }

    static void Append(TEntities&& from, TEntities& to)
    {
        auto move = [](auto& source, auto& target) {
            for (auto& e : source) target.push_back(std::move(e));
        };
        move(from.lines, to.lines);
        move(from.arcs, to.arcs);
        move(from.points, to.points);
        move(from.texts, to.texts);
        move(from.solids, to.solids);
        move(from.regions, to.regions);
        move(from.dimensions, to.dimensions);
        move(from.inserts, to.inserts);
    }

    void Solid(const TEntJwwSolid& q, bool inherit, TEntities& out)
    {
        const TEntJwwCommon& c = q.common;
        const uint32_t color = c.color == jw::kOwnColorPen ? q.fillColor : b_.PenColor(JwwPaletteIndex(c.color));
        const TAttributes a = Attr(c, inherit, color);
        if (c.lineType <= jw::kPolygonSolidMax) {
            auto same = [](double ax, double ay, double bx, double by) {
                return std::fabs(ax - bx) < kCornerTolerance && std::fabs(ay - by) < kCornerTolerance;
            };
            if (same(q.x2, q.y2, q.x3, q.y3)) {
                const TLine edge{a, q.x1 * s_, q.y1 * s_, q.x2 * s_, q.y2 * s_};
                if (!b_.Fits({edge.x1, edge.y1, edge.x2, edge.y2})) return;
                Spend(1);
                out.lines.push_back(edge);
                return;
            }
            const bool triangle = same(q.x4, q.y4, q.x3, q.y3);
            TSolid solid{a, {q.x1 * s_, q.y1 * s_, q.x2 * s_, q.y2 * s_, q.x3 * s_, q.y3 * s_,
                             (triangle ? q.x3 : q.x4) * s_, (triangle ? q.y3 : q.y4) * s_}};
            for (double v : solid.xy)
                if (!b_.Fits({v})) return;
            Spend(triangle ? 1 : 2);
            out.solids.push_back(solid);
            return;
        }
        const TSolidArc shape = DecodeSolidArc(q, EFlatnessPrecision::Double);
        if (shape.shape == ESolidArcShape::Outline) {
            TArc arc{a, shape.whole ? WholeEllipse(shape.arc) : shape.arc, shape.whole};
            arc.arc.x *= s_;
            arc.arc.y *= s_;
            arc.arc.radius *= s_;
            const TEllipticArc& e = arc.arc;
            if (!b_.Fits({e.x, e.y, e.radius, e.flatness, e.tilt, e.start, e.sweep}) || e.radius == 0) return;
            Spend(b_.ArcFigures(shape.arc.radius, e.sweep));
            out.arcs.push_back(arc);
            return;
        }
        auto loops = SolidRegionLoops(shape, s_);
        if (!loops) return;
        for (const auto& loop : *loops)
            for (const TRegionEdge& e : loop)
                if (!b_.Fits({e.x1, e.y1, e.x2, e.y2, e.curve.x, e.curve.y, e.curve.radius})) return;
        Spend(b_.ArcFigures(shape.arc.radius, shape.arc.sweep));
        out.regions.push_back({a, std::move(*loops)});
    }

    void Text(const TEntJwwMoji& t, bool inherit, TEntities& out)
    {
        if (AuxType(t.common) || AuxColor(t.common)) return;
        TText text;
        text.text = Cp932ToUtf8(t.text);
        text.height = t.sizeY * s_;
        if (text.text.empty() || !(text.height > 0) || !b_.Fits({text.height, t.sizeX, t.angle})) return;
        text.a = Attr(t.common, inherit);
        text.x = t.startX * s_;
        text.y = t.startY * s_;
        text.endX = t.endX * s_;
        text.endY = t.endY * s_;
        if (!b_.Fits({text.x, text.y, text.endX, text.endY})) return;
        text.widthFactor = t.sizeX > 0 ? t.sizeX / t.sizeY : 1.0;
        text.angle = t.angle;
        text.fit = std::hypot(text.endX - text.x, text.endY - text.y) > 1e-9 * text.height;
        text.font = b_.Font(Cp932ToUtf8(t.fontName));
        Spend(t.text.size());
        out.texts.push_back(std::move(text));
    }

    struct TPending {
        int32_t def;
        bool keepOwn;
        int32_t block;
    };

    TJwwEntityModel& m_;
    const TJwwData* tables_;
    TConversionContext& ctx_;
    const TConversionOptions& o_;
    TDrawingBuilder b_;
    double s_;
    bool spending_ = false;
    bool dimensionTextSet_ = false;
    static constexpr size_t kMaxExplodeWork = 4 * TJwwEntityModel::kMaxBlockTrees;
    size_t placements_ = 0, work_ = 0;
    std::vector<uint8_t> onChain_;
    std::unordered_map<uint32_t, int32_t> byNumber_;
    std::vector<bool> exploded_;
    std::vector<size_t> cost_;
    std::array<std::vector<int32_t>, 2> blockOf_;
    std::vector<TPending> pending_;
};

}  // namespace

}  // namespace drawing

void DrawJwwModel(TJwwEntityModel& model, const TJwwData* tables, double scale, TConversionContext& context)
{
    drawing::TJwwDrawing(model, tables, scale, context).Run();
}
