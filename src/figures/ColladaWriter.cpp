#include "figures/ColladaWriter.h"

#include <chrono>
#include <cmath>
#include <concepts>
#include <string>
#include <string_view>
#include <system_error>

#include "figures/ColladaDocument.h"
#include "figures/ColladaStamp.h"
#include "figures/FigureGroups.h"
#include "util/BufferedFile.h"

namespace {

constexpr std::string_view kColladaNamespace = "http://www.collada.org/2005/11/COLLADASchema";
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

void DeleteIfRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) std::filesystem::remove(path, error);
}

}  // namespace

bool WriteCollada(TConversionContext& context, const std::filesystem::path& path)
{
    return WriteColladaDocument(context, path, WriteGeometries);
}

bool WriteColladaDocument(TConversionContext& context, const std::filesystem::path& path,
                          TColladaGeometriesWriter geometries)
{
    TBufferedFile file;
    bool created = false;  // the file at path was created (or emptied) by this call
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

        if (!file.Create(path)) return false;  // nothing was created, so nothing is deleted
        created = true;
        TDocument doc(file, scale);
        WriteHeader(doc, creationStamp, now);
        WriteEffects(doc, store, colorTotals);
        WriteMaterials(doc, colorTotals);
        geometries(doc, store, groups);
        WriteScene(doc, store, groups);
        if (file.Close()) return true;
    } catch (...) {
        // Falls through to the clean-up below.
    }
    if (!created) return false;
    file.Close();
    DeleteIfRegularFile(path);  // never a device or a folder that happened to be named
    return false;
}
