#include "output/ColladaCompactWriter.h"

#include <string>

#include "figures/ColladaDocument.h"
#include "figures/ColladaWriter.h"
#include "output/WeldedGeometry.h"

namespace {

// A source of `count` XYZ values: the float array, whose lines `values` writes, and its accessor.
template <typename Values>
void WriteXyzSource(TDocument& doc, const std::string& id, size_t count, Values values)
{
    doc.Line("      <source id=\"", id, "\">");
    doc.Line("        <float_array id=\"", id, "-array\" count=\"", 3 * count, "\">");
    values();
    doc.Line("        </float_array>");
    doc.Line("        <technique_common>");
    doc.Line("          <accessor source=\"#", id, "-array\" count=\"", count, "\" stride=\"3\">");
    for (const char* axis : {"X", "Y", "Z"}) doc.Line("            <param name=\"", axis, "\" type=\"float\" />");
    doc.Line("          </accessor>");
    doc.Line("        </technique_common>");
    doc.Line("      </source>");
}

void WriteTriangles(TDocument& doc, const std::string& g, int32_t color, const std::vector<uint32_t>& corners)
{
    const size_t count = corners.size() / 3;
    doc.Line("      <triangles count=\"", count, "\" material=\"Color", color, "\">");
    doc.Line("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#", g, "-Vtx\" />");
    doc.Line("        <input offset=\"1\" semantic=\"NORMAL\" source=\"#", g, "-Normal\" />");
    doc.Line("        <p>");
    for (size_t t = 0; t < count; ++t) {
        const uint32_t* c = &corners[3 * t];
        doc.Line(kIndexIndent, c[0], " ", t, " ", c[1], " ", t, " ", c[2], " ", t);
    }
    doc.Line("        </p>");
    doc.Line("      </triangles>");
}

void WriteLines(TDocument& doc, const std::string& g, int32_t color, const std::vector<uint32_t>& ends)
{
    doc.Line("      <lines count=\"", ends.size() / 2, "\" material=\"Color", color, "\">");
    doc.Line("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#", g, "-Vtx\" />");
    doc.Line("        <p>");
    for (size_t s = 0; s < ends.size(); s += 2) doc.Line(kIndexIndent, ends[s], " ", ends[s + 1]);
    doc.Line("        </p>");
    doc.Line("      </lines>");
}

void WriteGeometry(TDocument& doc, const TWeldedGeometry& mesh, int32_t layer, int32_t color)
{
    const std::string g = GeometryId(layer, color);
    doc.Line("  <geometry id=\"", g, "\" name=\"", g, "\">");
    doc.Line("    <mesh>");
    WriteXyzSource(doc, g + "-Pos", mesh.Vertices.size(), [&] {
        for (const TFigPoint& p : mesh.Vertices) doc.PointLine(&p, 1);
    });
    const std::vector<uint32_t>& corners = mesh.Triangles;
    if (!corners.empty()) {
        WriteXyzSource(doc, g + "-Normal", corners.size() / 3, [&] {
            for (size_t c = 0; c < corners.size(); c += 3) {
                doc.Put(kPositionIndent);
                doc.Normal(mesh.Vertices[corners[c]], mesh.Vertices[corners[c + 1]], mesh.Vertices[corners[c + 2]]);
                doc.Put("\r\n");
            }
        });
    }
    doc.Line("      <vertices id=\"", g, "-Vtx\">");
    doc.Line("        <input semantic=\"POSITION\" source=\"#", g, "-Pos\" />");
    doc.Line("      </vertices>");
    if (!corners.empty()) WriteTriangles(doc, g, color, corners);
    if (!mesh.Segments.empty()) WriteLines(doc, g, color, mesh.Segments);
    doc.Line("    </mesh>");
    doc.Line("  </geometry>");
}

}  // namespace

bool WriteColladaCompact(TConversionContext& context, const std::filesystem::path& path)
{
    const double scale = static_cast<double>(0.001L * static_cast<long double>(context.CoordinateScale));
    return WriteColladaDocument(context, path, [scale](TDocument& doc, const TFigureStore& store,
                                                  const TFigureGroups& groups) {
        doc.Line("<library_geometries>");
        for (const TFigureGroup& group : groups.Groups)
            WriteGeometry(doc, WeldGroup(store, groups, group, scale), group.Layer, group.Color);
        doc.Line("</library_geometries>");
    });
}
