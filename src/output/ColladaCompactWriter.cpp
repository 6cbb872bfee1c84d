#include "output/ColladaCompactWriter.h"

#include <string>

#include "output/ColladaElements.h"
#include "output/ColladaWriter.h"
#include "output/FigureGroups.h"
#include "output/GeometriesInOrder.h"
#include "output/WeldedGeometry.h"

namespace {

// One geometry over welded vertices: the positions, one normal per triangle, then one
// <triangles> and one <lines> element holding all of the geometry's triangles and segments.
void WriteGeometry(TColladaDocument& doc, const TWeldedGeometry& mesh, int32_t layer, int32_t color)
{
    const std::string g = GeometryId(layer, color);
    const std::vector<uint32_t>& corners = mesh.Triangles;
    const std::vector<uint32_t>& ends = mesh.Segments;
    const auto triangles = static_cast<int64_t>(corners.size() / 3);
    BeginGeometry(doc, g);
    WriteSource(doc, g, kPositions, static_cast<int64_t>(mesh.Vertices.size()), [&] {
        for (const TFigPoint& p : mesh.Vertices) doc.PointsLine(&p, 1);
    });
    if (triangles > 0)
        WriteSource(doc, g, kNormals, triangles, [&] {
            for (size_t c = 0; c < corners.size(); c += 3) {
                doc.Put(kArrayIndent);
                doc.Normal(mesh.Vertices[corners[c]], mesh.Vertices[corners[c + 1]], mesh.Vertices[corners[c + 2]]);
                doc.Put("\r\n");
            }
        });
    WriteVertices(doc, g);
    if (triangles > 0)
        WriteTriangles(doc, g, color, triangles, [&] {
            for (size_t t = 0; t < corners.size() / 3; ++t) {
                const uint32_t* c = &corners[3 * t];
                doc.Line(kIndexIndent, c[0], " ", t, " ", c[1], " ", t, " ", c[2], " ", t);
            }
        });
    if (!ends.empty())
        WriteLines(doc, g, color, static_cast<int64_t>(ends.size() / 2), [&] {
            for (size_t s = 0; s < ends.size(); s += 2) doc.Line(kIndexIndent, ends[s], " ", ends[s + 1]);
        });
    EndGeometry(doc);
}

}  // namespace

bool WriteColladaCompact(const TConversionContext& context, TByteSink& sink)
{
    const double scale = static_cast<double>(0.001L * static_cast<long double>(context.Options.CoordinateScale));
    return WriteColladaDocument(context, sink, [scale](TColladaDocument& doc, const TFigureStore& store,
                                                       const TFigureGroups& groups, unsigned threads) {
        doc.Line("<library_geometries>");
        const TWeldMemoryScope weldMemory;
        WriteGeometriesInOrder(doc, groups, threads, [&](TColladaDocument& to, const TFigureGroup& group) {
            WriteGeometry(to, WeldGroup(store, groups, group, scale), group.Layer, group.Color);
        });
        doc.Line("</library_geometries>");
    }, TColladaMaterials::Unlit);
}
