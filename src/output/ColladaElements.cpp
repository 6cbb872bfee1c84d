#include "output/ColladaElements.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "output/ColladaNumbers.h"

namespace {

constexpr std::string_view kColladaNamespace = "http://www.collada.org/2005/11/COLLADASchema";

// A non-negative number's decimal digits, counted up in place: adding to the last digits is
// cheaper than converting the whole number again.
class TDecimalCounter {
public:
    explicit TDecimalCounter(int64_t value)
    {
        char text[kMaxDigits];
        char* const end = std::to_chars(text, text + kMaxDigits, value).ptr;
        first_ = digits_.size() - static_cast<std::size_t>(end - text);
        std::copy(text, end, digits_.begin() + static_cast<std::ptrdiff_t>(first_));
    }
    std::string_view Text() const { return {digits_.data() + first_, digits_.size() - first_}; }
    void Add(int amount)  // 0 .. 9
    {
        for (std::size_t i = digits_.size(); amount > 0;) {
            if (i == first_) digits_[--first_] = '0';  // a new leading digit takes the carry
            const int digit = digits_[--i] - '0' + amount;
            digits_[i] = static_cast<char>('0' + digit % 10);
            amount = digit / 10;
        }
    }

private:
    static constexpr std::size_t kMaxDigits = 20;
    std::array<char, kMaxDigits + 1> digits_{};
    std::size_t first_;
};

}  // namespace

void TColladaDocument::Fixed9(long double value)
{
    char* p = file_.Reserve(kFixed9MaxChars);
    file_.Commit(FormatFixed9(value, p));
}

// The unit normal of the triangle (p1, a, b); a degenerate one (length up to 1e-7) as it is.
void TColladaDocument::Normal(const TFigPoint& p1, const TFigPoint& a, const TFigPoint& b)
{
    const long double ux = static_cast<long double>(a.x) - p1.x, uy = static_cast<long double>(a.y) - p1.y,
                      uz = static_cast<long double>(a.z) - p1.z;
    const long double vx = static_cast<long double>(b.x) - p1.x, vy = static_cast<long double>(b.y) - p1.y,
                      vz = static_cast<long double>(b.z) - p1.z;
    long double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const long double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length > 1e-7L) {
        nx /= length;
        ny /= length;
        nz /= length;
    }
    Fixed9(nx);
    Put(" ");
    Fixed9(ny);
    Put(" ");
    Fixed9(nz);
}

void TColladaDocument::PointsLine(const TFigPoint* points, int count) { ArrayLine(points, count, false); }

void TColladaDocument::PositionLine(const TFigure& figure) { ArrayLine(figure.Points, FigurePointCount(figure.Kind), true); }

void TColladaDocument::ArrayLine(const TFigPoint* points, int count, bool reuseLast)
{
    // One reservation for the whole line: the buffer's room is not checked for every number.
    char* p = file_.Reserve(kArrayIndent.size() + static_cast<std::size_t>(count) * 3 * (kFixed9MaxChars + 1) + 1);
    p = std::copy(kArrayIndent.begin(), kArrayIndent.end(), p);
    for (int i = 0; i < count; ++i) p = reuseLast ? PointTextReusingLast(points[i], p) : PointText(points[i], p);
    p[-1] = '\r';  // in place of the last blank
    *p++ = '\n';
    file_.Commit(p);
}

char* TColladaDocument::PointText(const TFigPoint& point, char* p) const
{
    for (const double value : {point.x, point.y, point.z}) {
        p = FormatScaledFixed9(value, scale_, p);
        *p++ = ' ';
    }
    return p;
}

char* TColladaDocument::PointTextReusingLast(const TFigPoint& point, char* p)
{
    // The same bits give the same text: a segment of a polyline starts where the one before
    // it ended, so about half the points of arcs need no formatting.
    if (lastTextSize_ > 0 && std::memcmp(&point, &lastPoint_, sizeof point) == 0)
        return std::copy_n(lastText_.data(), lastTextSize_, p);
    char* const start = p;
    p = PointText(point, p);
    const auto size = static_cast<std::size_t>(p - start);
    lastPoint_ = point;
    lastTextSize_ = size <= lastText_.size() ? size : 0;
    std::memcpy(lastText_.data(), start, lastTextSize_);
    return p;
}

void TColladaDocument::NormalLine(const TFigure& filled)
{
    const TFigPoint* p = filled.Points;
    Put(kArrayIndent);
    Normal(p[0], p[1], p[2]);
    if (filled.Kind == fkQuad) {
        Put(" ");
        Normal(p[0], p[2], p[3]);
    }
    Put("\r\n");
}

// A quadrilateral is the triangles (1, 2, 3) and (1, 3, 4), each with its own normal.
void TColladaDocument::TriangleIndexLine(const TFigure& filled, int64_t& n, int64_t& t)
{
    if (filled.Kind == fkQuad) {
        Line(kIndexIndent, n, " ", t, " ", n + 1, " ", t, " ", n + 2, " ", t, " ", n, " ", t + 1, " ", n + 2, " ",
             t + 1, " ", n + 3, " ", t + 1);
        n += 4;
        t += 2;
    } else {
        Line(kIndexIndent, n, " ", t, " ", n + 1, " ", t, " ", n + 2, " ", t);
        n += 3;
        t += 1;
    }
}

std::string GeometryId(int32_t layer, int32_t color)
{
    return "layer" + std::to_string(layer) + "-C" + std::to_string(color);
}

void WriteHeader(TColladaDocument& doc, const std::string& created, const std::string& modified)
{
    doc.Line("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    doc.Line("<COLLADA xmlns=\"", kColladaNamespace, "\" version=\"1.4.1\">");
    doc.Line("<asset>");
    doc.Line("  <contributor>");
    doc.Line("    <author>Halvik</author>");
    doc.Line("    <authoring_tool>TESSARO</authoring_tool>");
    doc.Line("    <copyright>Halvik All Rights Reserved</copyright>");
    doc.Line("  </contributor>");
    doc.Line("  <created>", created, "</created>");
    doc.Line("  <modified>", modified, "</modified>");
    doc.Line("  <revision>1.0</revision>");
    doc.Line("  <up_axis>Z_UP</up_axis>");
    doc.Line("</asset>");
}

void WriteEffects(TColladaDocument& doc, const TFigureStore& store, const std::vector<int32_t>& colorTotals)
{
    doc.Line("<library_effects>");
    for (int32_t s = 1; s <= kPaletteSize; ++s) {
        if (colorTotals[static_cast<size_t>(s)] <= 0) continue;
        const uint32_t rgb = store.Palette[static_cast<size_t>(s)];
        doc.Line("  <effect id=\"ColorID", s, "\">");
        doc.Line("    <profile_COMMON>");
        doc.Line("      <technique sid=\"COMMON\">");
        doc.Line("        <lambert>");
        doc.Line("          <diffuse>");
        doc.Line("            <color>", ColorChannelText(rgb & 0xFF), " ", ColorChannelText((rgb >> 8) & 0xFF), " ",
                 ColorChannelText((rgb >> 16) & 0xFF), " 1</color>");
        doc.Line("          </diffuse>");
        doc.Line("        </lambert>");
        doc.Line("      </technique>");
        doc.Line("    </profile_COMMON>");
        doc.Line("  </effect>");
    }
    doc.Line("</library_effects>");
}

namespace {

void WriteColorLine(TColladaDocument& doc, uint32_t rgb)
{
    doc.Line("            <color>", ColorChannelText(rgb & 0xFF), " ", ColorChannelText((rgb >> 8) & 0xFF), " ",
             ColorChannelText((rgb >> 16) & 0xFF), " 1</color>");
}

// A Lambert effect: `emission` (when given) and `diffuse` as colours, and an index of refraction
// of 1. Importers built on OpenCOLLADA (Blender's) take a missing index as -1 and warn about
// every material.
void WriteLambertEffect(TColladaDocument& doc, std::string_view id, const uint32_t* emission, uint32_t diffuse)
{
    doc.Line("  <effect id=\"", id, "\">");
    doc.Line("    <profile_COMMON>");
    doc.Line("      <technique sid=\"COMMON\">");
    doc.Line("        <lambert>");
    if (emission) {
        doc.Line("          <emission>");
        WriteColorLine(doc, *emission);
        doc.Line("          </emission>");
    }
    doc.Line("          <diffuse>");
    WriteColorLine(doc, diffuse);
    doc.Line("          </diffuse>");
    doc.Line("          <index_of_refraction>");
    doc.Line("            <float>1</float>");
    doc.Line("          </index_of_refraction>");
    doc.Line("        </lambert>");
    doc.Line("      </technique>");
    doc.Line("    </profile_COMMON>");
    doc.Line("  </effect>");
}

}  // namespace

// The triangles' effect is a Lambert one rather than <constant>: three.js gives <constant> a
// material without an emissive colour and colours it by <diffuse>, which <constant> cannot hold,
// so its triangles come out white; a Lambert effect with a black diffuse shows its emission alone
// there and in Blender. Segments are drawn in the diffuse colour by three.js (emission is not
// read for lines), hence their own effect. The colours are the palette's sRGB channels over 255
// as in the default document: three.js reads COLLADA colours as sRGB and turns them linear, which
// gives the glTF document's factors.
void WriteUnlitEffects(TColladaDocument& doc, const TFigureStore& store, const std::vector<int32_t>& colorTotals,
                       const std::vector<bool>& withTriangles)
{
    doc.Line("<library_effects>");
    for (int32_t s = 1; s <= kPaletteSize; ++s) {
        if (colorTotals[static_cast<size_t>(s)] <= 0) continue;
        const uint32_t rgb = store.Palette[static_cast<size_t>(s)];
        const std::string id = "ColorID" + std::to_string(s);
        if (withTriangles[static_cast<size_t>(s)]) WriteLambertEffect(doc, id, &rgb, 0);
        WriteLambertEffect(doc, id + "-Lines", nullptr, rgb);
    }
    doc.Line("</library_effects>");
}

void WriteUnlitMaterials(TColladaDocument& doc, const std::vector<int32_t>& colorTotals,
                         const std::vector<bool>& withTriangles)
{
    doc.Line("<library_materials>");
    for (int32_t s = 1; s <= kPaletteSize; ++s) {
        if (colorTotals[static_cast<size_t>(s)] <= 0) continue;
        for (const std::string_view suffix : {"", "-Lines"}) {
            if (suffix.empty() && !withTriangles[static_cast<size_t>(s)]) continue;
            doc.Line("  <material id=\"DefColor", s, suffix, "\">");
            doc.Line("    <instance_effect url=\"#ColorID", s, suffix, "\" />");
            doc.Line("  </material>");
        }
    }
    doc.Line("</library_materials>");
}

void WriteMaterials(TColladaDocument& doc, const std::vector<int32_t>& colorTotals)
{
    doc.Line("<library_materials>");
    for (int32_t s = 1; s <= kPaletteSize; ++s) {
        if (colorTotals[static_cast<size_t>(s)] <= 0) continue;
        doc.Line("  <material id=\"DefColor", s, "\">");
        doc.Line("    <instance_effect url=\"#ColorID", s, "\" />");
        doc.Line("  </material>");
    }
    doc.Line("</library_materials>");
}

void BeginGeometry(TColladaDocument& doc, const std::string& id)
{
    doc.Line("  <geometry id=\"", id, "\" name=\"", id, "\">");
    doc.Line("    <mesh>");
}

void WriteSource(TColladaDocument& doc, const std::string& id, TSourceKind kind, int64_t count,
                 const std::function<void()>& values)
{
    doc.Line("      <source id=\"", id, "-", kind.Suffix, "\">");
    doc.Line("        <float_array id=\"", id, "-", kind.Suffix, "-array\" count=\"", 3 * count, "\">");
    values();
    doc.Line("        </float_array>");
    doc.Line("        <technique_common>");
    doc.Line("          <accessor source=\"#", id, "-", kind.Suffix, "-array\" count=\"", count, "\" stride=\"3\">");
    for (std::string_view axis : {"X", "Y", "Z"})
        doc.Line("            <param name=\"", axis, "\" type=\"float\"", kind.ParamClose);
    doc.Line("          </accessor>");
    doc.Line("        </technique_common>");
    doc.Line("      </source>");
}

void WriteVertices(TColladaDocument& doc, const std::string& id)
{
    doc.Line("      <vertices id=\"", id, "-Vtx\">");
    doc.Line("        <input semantic=\"POSITION\" source=\"#", id, "-Pos\" />");
    doc.Line("      </vertices>");
}

// The normals are indexed per triangle (offset 1), since their array is shorter than the
// position array.
void WriteTriangles(TColladaDocument& doc, const std::string& id, int32_t color, int64_t count,
                    const std::function<void()>& indices)
{
    doc.Line("      <triangles count=\"", count, "\" material=\"Color", color, "\">");
    doc.Line("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#", id, "-Vtx\" />");
    doc.Line("        <input offset=\"1\" semantic=\"NORMAL\" source=\"#", id, "-Normal\" />");
    doc.Line("        <p>");
    indices();
    doc.Line("        </p>");
    doc.Line("      </triangles>");
}

void WriteSegments(TColladaDocument& doc, const std::string& id, int32_t color, int64_t vertex, std::size_t count)
{
    // Everything up to the first vertex number is the same for every segment of the geometry.
    const std::string head = "      <lines count=\"1\" material=\"Color" + std::to_string(color) +
                             "\">\r\n        <input offset=\"0\" semantic=\"VERTEX\" source=\"#" + id +
                             "-Vtx\" />\r\n        <p>";
    constexpr std::string_view tail = "</p>\r\n      </lines>\r\n";
    TDecimalCounter start(vertex), end(vertex + 1);
    TBufferedOutput& file = doc.File();
    for (std::size_t k = 0; k < count; ++k) {
        // One reservation for the element: most of a document's bytes are these.
        const std::string_view first = start.Text(), second = end.Text();
        char* p = file.Reserve(head.size() + first.size() + 1 + second.size() + tail.size());
        p = std::copy(head.begin(), head.end(), p);
        p = std::copy(first.begin(), first.end(), p);
        *p++ = ' ';
        p = std::copy(second.begin(), second.end(), p);
        file.Commit(std::copy(tail.begin(), tail.end(), p));
        start.Add(2);
        end.Add(2);
    }
}

void WriteLines(TColladaDocument& doc, const std::string& id, int32_t color, int64_t count,
                const std::function<void()>& indices)
{
    doc.Line("      <lines count=\"", count, "\" material=\"Color", color, "-Lines\">");
    doc.Line("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#", id, "-Vtx\" />");
    doc.Line("        <p>");
    indices();
    doc.Line("        </p>");
    doc.Line("      </lines>");
}

void EndGeometry(TColladaDocument& doc)
{
    doc.Line("    </mesh>");
    doc.Line("  </geometry>");
}

void BeginScene(TColladaDocument& doc)
{
    doc.Line("<library_visual_scenes>");
    doc.Line("  <visual_scene id=\"DefaultScene\">");
}

void BeginNode(TColladaDocument& doc, int32_t layer)
{
    doc.Line("    <node id=\"Layer", layer, "\" name=\"Layer", layer, "\">");
}

void WriteInstance(TColladaDocument& doc, int32_t layer, int32_t color)
{
    doc.Line("      <instance_geometry url=\"#", GeometryId(layer, color), "\">");
    doc.Line("        <bind_material>");
    doc.Line("          <technique_common>");
    doc.Line("            <instance_material symbol=\"Color", color, "\" target=\"#DefColor", color, "\" />");
    doc.Line("          </technique_common>");
    doc.Line("        </bind_material>");
    doc.Line("      </instance_geometry>");
}

void WriteUnlitInstance(TColladaDocument& doc, int32_t layer, int32_t color, bool triangles)
{
    doc.Line("      <instance_geometry url=\"#", GeometryId(layer, color), "\">");
    doc.Line("        <bind_material>");
    doc.Line("          <technique_common>");
    for (const std::string_view suffix : {"", "-Lines"}) {
        if (suffix.empty() && !triangles) continue;
        doc.Line("            <instance_material symbol=\"Color", color, suffix, "\" target=\"#DefColor", color, suffix,
                 "\" />");
    }
    doc.Line("          </technique_common>");
    doc.Line("        </bind_material>");
    doc.Line("      </instance_geometry>");
}

void EndNode(TColladaDocument& doc) { doc.Line("    </node>"); }

void EndScene(TColladaDocument& doc)
{
    doc.Line("  </visual_scene>");
    doc.Line("</library_visual_scenes>");
    doc.Line("<scene>");
    doc.Line("  <instance_visual_scene url=\"#DefaultScene\" />");
    doc.Line("</scene>");
    doc.Line("</COLLADA>");
}
