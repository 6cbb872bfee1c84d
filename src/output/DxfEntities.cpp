// The entities of model space and of every block, each with its handle, owner, layer,
// line type, colour and line weight.
#include <algorithm>
#include <cmath>

#include "output/DxfColors.h"
#include "output/DxfDocument.h"
#include "output/DxfNames.h"

using namespace drawing;

namespace {

constexpr double kDegrees = 180 / static_cast<double>(jw::kPi);
constexpr double kRoundRatio = 1e-12;  // an ellipse this close to round is a circle

double Degrees(double radians) { return NormalAngle(radians) * kDegrees; }

}  // namespace

void TDxfDocument::Entities(const TEntities& e, uint64_t owner)
{
    for (const TLine& l : e.lines) Line(l, owner);
    for (const TFace& f : e.faces) Face(f, owner);
    for (const TArc& a : e.arcs) Arc(a, owner);
    for (const TPoint& p : e.points) Point(p, owner);
    for (const TSolid& s : e.solids) Solid(s, owner);
    for (const TRegion& r : e.regions) Region(r, owner);
    for (const TText& t : e.texts) Text(t, owner);
    for (const TInsert& i : e.inserts) Insert(i, owner);
    for (const TDimension& d : e.dimensions) Dimension(d, owner);
}

void TDxfDocument::Common(std::string_view type, uint64_t owner, const TAttributes& a)
{
    o_.Text(0, type);
    o_.Handle(5, next_++);
    o_.Handle(330, owner);
    o_.Text(100, "AcDbEntity");
    o_.Text(8, a.layer >= 0 && a.layer < jw::kLayerCount ? std::string_view(layerNames_[static_cast<size_t>(a.layer)])
                                                           : std::string_view("0"));
    if (a.lineType > 0 && static_cast<size_t>(a.lineType) < d_.lineTypes.size())
        o_.Text(6, SafeTableName(d_.lineTypes[static_cast<size_t>(a.lineType)].name));
    // The background's default pen is colour 7: white on screen, black on paper.
    if (a.defaultPen) {
        o_.Int(62, 7);
    } else {
        o_.Int(62, NearestAci(a.color));
        o_.Int(420, TrueColor(a.color));
    }
    if (a.lineWeight >= 0) o_.Int(370, a.lineWeight);
}

void TDxfDocument::Line(const TLine& l, uint64_t owner)
{
    Common("LINE", owner, l.a);
    o_.Text(100, "AcDbLine");
    o_.Point(10, l.x1, l.y1, l.z1);
    o_.Point(11, l.x2, l.y2, l.z2);
}

// A triangle: its fourth corner is its third again.
void TDxfDocument::Face(const TFace& f, uint64_t owner)
{
    Common("3DFACE", owner, f.a);
    o_.Text(100, "AcDbFace");
    for (int corner = 0; corner < 4; ++corner) {
        const size_t i = static_cast<size_t>(std::min(corner, 2) * 3);
        o_.Point(10 + corner, f.xyz[i], f.xyz[i + 1], f.xyz[i + 2]);
    }
}

void TDxfDocument::Arc(const TArc& a, uint64_t owner)
{
    TDxfEllipse e = DxfEllipseOf(a.arc);
    // DXF curves run counter-clockwise from their start.
    if (e.sweep < 0) {
        e.start += e.sweep;
        e.sweep = -e.sweep;
    }
    const bool whole = a.whole || e.sweep >= kFullTurn;
    if (std::fabs(e.ratio - 1) < kRoundRatio) {
        const double radius = std::hypot(e.axisX, e.axisY), offset = std::atan2(e.axisY, e.axisX);
        Common(whole ? "CIRCLE" : "ARC", owner, a.a);
        o_.Text(100, "AcDbCircle");
        o_.Point(10, e.x, e.y);
        o_.Real(40, radius);
        if (whole) return;
        o_.Text(100, "AcDbArc");
        o_.Real(50, Degrees(offset + e.start));
        o_.Real(51, Degrees(offset + e.start + e.sweep));
        return;
    }
    Common("ELLIPSE", owner, a.a);
    o_.Text(100, "AcDbEllipse");
    o_.Point(10, e.x, e.y);
    o_.Point(11, e.axisX, e.axisY);
    o_.Real(40, e.ratio);
    if (whole) {
        o_.Real(41, 0);
        o_.Real(42, kFullTurn);
        return;
    }
    const double start = NormalAngle(e.start);
    o_.Real(41, start);
    o_.Real(42, start + e.sweep);
}

void TDxfDocument::Point(const TPoint& p, uint64_t owner)
{
    Common("POINT", owner, p.a);
    o_.Text(100, "AcDbPoint");
    o_.Point(10, p.x, p.y);
}

// SOLID's third corner is the polygon's fourth: it fills 1-2-4-3.
void TDxfDocument::Solid(const TSolid& s, uint64_t owner)
{
    Common("SOLID", owner, s.a);
    o_.Text(100, "AcDbTrace");
    o_.Point(10, s.xy[0], s.xy[1]);
    o_.Point(11, s.xy[2], s.xy[3]);
    o_.Point(12, s.xy[6], s.xy[7]);
    o_.Point(13, s.xy[4], s.xy[5]);
}

void TDxfDocument::Region(const TRegion& r, uint64_t owner)
{
    Common("HATCH", owner, r.a);
    o_.Text(100, "AcDbHatch");
    o_.Point(10, 0, 0);
    o_.Real(210, 0), o_.Real(220, 0), o_.Real(230, 1);
    o_.Text(2, "SOLID");
    o_.Int(70, 1);
    o_.Int(71, 0);
    o_.Int(91, static_cast<int64_t>(r.loops.size()));
    for (const auto& loop : r.loops) {
        o_.Int(92, 1);
        o_.Int(93, static_cast<int64_t>(loop.size()));
        for (const TRegionEdge& edge : loop) {
            if (!edge.arc) {
                o_.Int(72, 1);
                o_.Real(10, edge.x1), o_.Real(20, edge.y1);
                o_.Real(11, edge.x2), o_.Real(21, edge.y2);
                continue;
            }
            const TDxfEllipse e = DxfEllipseOf(edge.curve);
            o_.Int(72, 3);
            o_.Real(10, e.x), o_.Real(20, e.y);
            o_.Real(11, e.axisX), o_.Real(21, e.axisY);
            o_.Real(40, e.ratio);
            if (std::fabs(e.sweep) >= kFullTurn) {
                o_.Real(50, 0), o_.Real(51, 360), o_.Int(73, 1);
                continue;
            }
            // A clockwise edge keeps its angles as their complements, as DXF has it.
            const double start = Degrees(e.start), sweep = e.sweep * kDegrees;
            if (sweep >= 0) o_.Real(50, start), o_.Real(51, start + sweep), o_.Int(73, 1);
            else o_.Real(50, 360 - start), o_.Real(51, 360 - start - sweep), o_.Int(73, 0);
        }
        o_.Int(97, 0);
    }
    o_.Int(75, 0);
    o_.Int(76, 1);
    o_.Int(98, 0);
}

void TDxfDocument::Text(const TText& t, uint64_t owner)
{
    Common("TEXT", owner, t.a);
    o_.Text(100, "AcDbText");
    o_.Point(10, t.x, t.y);
    o_.Real(40, t.height);
    o_.Text(1, SafeText(t.text));
    o_.Real(50, Degrees(t.angle / kDegrees));
    o_.Real(41, t.widthFactor > 0 && std::isfinite(t.widthFactor) ? t.widthFactor : 1.0);
    const size_t style = t.font >= 0 && static_cast<size_t>(t.font) + 1 < styleNames_.size() ? t.font + 1 : 0;
    o_.Text(7, styleNames_[style]);
    if (t.fit) {
        o_.Int(72, 5);
        o_.Point(11, t.endX, t.endY);
    }
    o_.Text(100, "AcDbText");
    o_.Int(73, 0);
}

void TDxfDocument::Insert(const TInsert& i, uint64_t owner)
{
    Common("INSERT", owner, i.a);
    o_.Text(100, "AcDbBlockReference");
    o_.Text(2, blockNames_[static_cast<size_t>(i.block)]);
    o_.Point(10, i.x, i.y);
    o_.Real(41, i.scaleX);
    o_.Real(42, i.scaleY);
    o_.Real(43, 1);
    o_.Real(50, Degrees(i.rotation));
}

// A rotated linear dimension, drawn by its block of lines, points and text; 32 marks the
// block as this dimension's alone.
void TDxfDocument::Dimension(const TDimension& d, uint64_t owner)
{
    Common("DIMENSION", owner, d.a);
    o_.Text(100, "AcDbDimension");
    o_.Int(280, 0);  // the 2010 form
    o_.Text(2, blockNames_[static_cast<size_t>(d.block)]);
    o_.Point(10, d.lineX, d.lineY);
    o_.Point(11, d.textX, d.textY);
    o_.Int(70, 32);
    o_.Int(71, 5);
    o_.Real(42, d.measurement);
    o_.Text(1, SafeText(d.value));
    o_.Text(3, "Standard");
    o_.Text(100, "AcDbAlignedDimension");
    o_.Point(13, d.x1, d.y1);
    o_.Point(14, d.x2, d.y2);
    o_.Real(50, Degrees(d.angle / kDegrees));
    o_.Text(100, "AcDbRotatedDimension");
}
