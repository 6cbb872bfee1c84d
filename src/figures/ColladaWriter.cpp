#include "figures/ColladaWriter.h"

#include <chrono>
#include <cmath>
#include <concepts>
#include <string>
#include <string_view>
#include <system_error>

#include "figures/ColladaNumbers.h"
#include "figures/ColladaStamp.h"
#include "figures/FigureGroups.h"
#include "util/BufferedFile.h"

namespace {

constexpr std::string_view kColladaNamespace = "http://www.collada.org/2005/11/COLLADASchema";
constexpr std::string_view kPositionIndent = "          ";  // ten blanks
constexpr std::string_view kIndexIndent = "        ";      // eight blanks

// Writes the document's lines: every Line ends with CR LF.
class TDocument {
public:
    TDocument(TBufferedFile& file, double scale) : file_(file), scale_(scale) {}

    template <typename... Parts>
    void Line(const Parts&... parts)
    {
        (Put(parts), ...);
        file_.Write("\r\n");
    }

    void Put(std::string_view text) { file_.Write(text); }

    template <std::integral Integer>
    void Put(Integer value)
    {
        file_.WriteInt(static_cast<int64_t>(value));
    }

    void Fixed9(long double value)
    {
        char* p = file_.Reserve(kFixed9MaxChars);
        file_.Commit(FormatFixed9(value, p));
    }

    // A stored coordinate in output units; the product is formed in extended precision.
    void Coordinate(double stored) { Fixed9(static_cast<long double>(stored) * static_cast<long double>(scale_)); }

    void Point(const TFigPoint& p)
    {
        Coordinate(p.x);
        Put(" ");
        Coordinate(p.y);
        Put(" ");
        Coordinate(p.z);
    }

    // The points of a line of values, blank separated, after the ten-blank indent.
    void PointLine(const TFigPoint* points, int count)
    {
        Put(kPositionIndent);
        for (int i = 0; i < count; ++i) {
            if (i > 0) Put(" ");
            Point(points[i]);
        }
        Put("\r\n");
    }

    // The unit normal of the triangle (p1, a, b); a degenerate one (length up to 1e-7) as it is.
    void Normal(const TFigPoint& p1, const TFigPoint& a, const TFigPoint& b)
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

private:
    TBufferedFile& file_;
    double scale_;
};

std::string GeometryId(int32_t layer, int32_t color)
{
    return "layer" + std::to_string(layer) + "-C" + std::to_string(color);
}

void WriteHeader(TDocument& doc, const std::string& created, const std::string& modified)
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

void WriteEffects(TDocument& doc, const TFigureStore& store, const std::vector<int32_t>& colorTotals)
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

void WriteMaterials(TDocument& doc, const std::vector<int32_t>& colorTotals)
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

void WriteAccessorParams(TDocument& doc, std::string_view ending)
{
    doc.Line("            <param name=\"X\" type=\"float\"", ending);
    doc.Line("            <param name=\"Y\" type=\"float\"", ending);
    doc.Line("            <param name=\"Z\" type=\"float\"", ending);
}

// One geometry: positions of the filled shapes first, then of the segments; one normal per
// triangle, indexed per triangle from the triangles element (offset 1), since the normal
// array is shorter than the position array.
void WriteGeometry(TDocument& doc, const TFigureStore& store, const TFigureGroups& groups, const TFigureGroup& group)
{
    const uint32_t* first = groups.Members.data() + group.First;
    const uint32_t* last = groups.Members.data() + group.Last;
    auto figure = [&store](uint32_t index) -> const TFigure& { return store.Figures[index]; };

    int64_t vertices = 0, triangles = 0, segments = 0;
    for (const uint32_t* m = first; m != last; ++m) {
        switch (figure(*m).Kind) {
        case fkLine: vertices += 2, segments += 1; break;
        case fkTriangle: vertices += 3, triangles += 1; break;
        case fkQuad: vertices += 4, triangles += 2; break;
        default: break;
        }
    }

    const std::string g = GeometryId(group.Layer, group.Color);
    doc.Line("  <geometry id=\"", g, "\" name=\"", g, "\">");
    doc.Line("    <mesh>");
    doc.Line("      <source id=\"", g, "-Pos\">");
    doc.Line("        <float_array id=\"", g, "-Pos-array\" count=\"", 3 * vertices, "\">");
    if (triangles > 0) {
        for (const uint32_t* m = first; m != last; ++m) {
            const TFigure& f = figure(*m);
            if (f.Kind == fkTriangle) doc.PointLine(f.Points, 3);
            else if (f.Kind == fkQuad) doc.PointLine(f.Points, 4);
        }
    }
    if (segments > 0) {
        for (const uint32_t* m = first; m != last; ++m) {
            const TFigure& f = figure(*m);
            if (f.Kind == fkLine) doc.PointLine(f.Points, 2);
        }
    }
    doc.Line("        </float_array>");
    doc.Line("        <technique_common>");
    doc.Line("          <accessor source=\"#", g, "-Pos-array\" count=\"", vertices, "\" stride=\"3\">");
    WriteAccessorParams(doc, " />");
    doc.Line("          </accessor>");
    doc.Line("        </technique_common>");
    doc.Line("      </source>");

    if (triangles > 0) {
        doc.Line("      <source id=\"", g, "-Normal\">");
        doc.Line("        <float_array id=\"", g, "-Normal-array\" count=\"", 3 * triangles, "\">");
        for (const uint32_t* m = first; m != last; ++m) {
            const TFigure& f = figure(*m);
            const TFigPoint* p = f.Points;
            if (f.Kind != fkTriangle && f.Kind != fkQuad) continue;
            doc.Put(kPositionIndent);
            doc.Normal(p[0], p[1], p[2]);
            if (f.Kind == fkQuad) {
                doc.Put(" ");
                doc.Normal(p[0], p[2], p[3]);
            }
            doc.Put("\r\n");
        }
        doc.Line("        </float_array>");
        doc.Line("        <technique_common>");
        doc.Line("          <accessor source=\"#", g, "-Normal-array\" count=\"", triangles, "\" stride=\"3\">");
        WriteAccessorParams(doc, "/>");
        doc.Line("          </accessor>");
        doc.Line("        </technique_common>");
        doc.Line("      </source>");
    }

    doc.Line("      <vertices id=\"", g, "-Vtx\">");
    doc.Line("        <input semantic=\"POSITION\" source=\"#", g, "-Pos\" />");
    doc.Line("      </vertices>");

    int64_t n = 0;  // running vertex number
    if (triangles > 0) {
        doc.Line("      <triangles count=\"", triangles, "\" material=\"Color", group.Color, "\">");
        doc.Line("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#", g, "-Vtx\" />");
        doc.Line("        <input offset=\"1\" semantic=\"NORMAL\" source=\"#", g, "-Normal\" />");
        doc.Line("        <p>");
        int64_t t = 0;  // running triangle (normal) number
        for (const uint32_t* m = first; m != last; ++m) {
            const TFigure& f = figure(*m);
            if (f.Kind == fkTriangle) {
                doc.Line(kIndexIndent, n, " ", t, " ", n + 1, " ", t, " ", n + 2, " ", t);
                n += 3;
                t += 1;
            } else if (f.Kind == fkQuad) {
                doc.Line(kIndexIndent, n, " ", t, " ", n + 1, " ", t, " ", n + 2, " ", t, " ", n, " ", t + 1, " ",
                         n + 2, " ", t + 1, " ", n + 3, " ", t + 1);
                n += 4;
                t += 2;
            }
        }
        doc.Line("        </p>");
        doc.Line("      </triangles>");
    }
    if (segments > 0) {
        for (const uint32_t* m = first; m != last; ++m) {
            if (figure(*m).Kind != fkLine) continue;
            doc.Line("      <lines count=\"1\" material=\"Color", group.Color, "\">");
            doc.Line("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#", g, "-Vtx\" />");
            doc.Line("        <p>", n, " ", n + 1, "</p>");
            doc.Line("      </lines>");
            n += 2;
        }
    }
    doc.Line("    </mesh>");
    doc.Line("  </geometry>");
}

void WriteGeometries(TDocument& doc, const TFigureStore& store, const TFigureGroups& groups)
{
    doc.Line("<library_geometries>");
    for (const TFigureGroup& group : groups.Groups) WriteGeometry(doc, store, groups, group);
    doc.Line("</library_geometries>");
}

void WriteScene(TDocument& doc, const TFigureStore& store, const TFigureGroups& groups)
{
    doc.Line("<library_visual_scenes>");
    doc.Line("  <visual_scene id=\"DefaultScene\">");
    auto group = groups.Groups.begin();
    for (int32_t h = 0; h < kFigLayerCount; ++h) {
        if (store.LayerCounts[static_cast<size_t>(h)] == 0) continue;
        doc.Line("    <node id=\"Layer", h, "\" name=\"Layer", h, "\">");
        while (group != groups.Groups.end() && group->Layer < h) ++group;
        for (; group != groups.Groups.end() && group->Layer == h; ++group) {
            const int32_t s = group->Color;
            doc.Line("      <instance_geometry url=\"#", GeometryId(h, s), "\">");
            doc.Line("        <bind_material>");
            doc.Line("          <technique_common>");
            doc.Line("            <instance_material symbol=\"Color", s, "\" target=\"#DefColor", s, "\" />");
            doc.Line("          </technique_common>");
            doc.Line("        </bind_material>");
            doc.Line("      </instance_geometry>");
        }
        doc.Line("    </node>");
    }
    doc.Line("  </visual_scene>");
    doc.Line("</library_visual_scenes>");
    doc.Line("<scene>");
    doc.Line("  <instance_visual_scene url=\"#DefaultScene\" />");
    doc.Line("</scene>");
    doc.Line("</COLLADA>");
}

// The census the document is built from: layers, and colours over all layers. Afterwards the
// colour counts are those of the last used layer, as a layer-by-layer census leaves them.
std::vector<int32_t> TakeCensus(TFigureStore& store)
{
    store.CountLayers();
    store.CountColors(-1, kDrawnKindMask);
    std::vector<int32_t> totals(store.ColorCounts.begin(), store.ColorCounts.end());
    for (int32_t h = kFigLayerCount - 1; h >= 0; --h) {
        if (store.LayerCounts[static_cast<size_t>(h)] != 0) {
            store.CountColors(h, kDrawnKindMask);
            break;
        }
    }
    return totals;
}

}  // namespace

bool WriteCollada(TConversionContext& context, const std::filesystem::path& path)
{
    // The document goes to a temporary file that replaces the old one only when complete, so
    // a failure at any point leaves the old document as it was.
    TBufferedFile file;
    try {
        TFigureStore& store = context.Store;
        const std::vector<int32_t> colorTotals = TakeCensus(store);
        const TFigureGroups groups = GroupFigures(store);
        const double scale = static_cast<double>(0.001L * static_cast<long double>(context.CoordinateScale));

        const std::string now = FormatUtcStamp(std::chrono::system_clock::now());
        std::string creationStamp = now;
        // A stamp that would break the document is not kept.
        if (std::optional<std::string> kept = ReadCreationStamp(path); kept && IsPlainStampText(*kept))
            creationStamp = *kept;

        if (!file.Create(path)) return false;
        TDocument doc(file, scale);
        WriteHeader(doc, creationStamp, now);
        WriteEffects(doc, store, colorTotals);
        WriteMaterials(doc, colorTotals);
        WriteGeometries(doc, store, groups);
        WriteScene(doc, store, groups);
        if (file.Close()) return true;
    } catch (...) {
        // The unfinished temporary file is discarded with `file`.
    }
    return false;
}
