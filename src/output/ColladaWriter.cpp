#include "output/ColladaWriter.h"

#include <array>
#include <chrono>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "output/ColladaElements.h"
#include "output/ColladaStamp.h"
#include "output/FigureGroups.h"
#include "output/GeometriesInOrder.h"
#include "util/BufferedOutput.h"

namespace {

// One geometry: positions of the filled shapes first, then of the segments; one normal per
// triangle; the triangles element, then one lines element per segment.
void WriteGeometry(TColladaDocument& doc, const TFigureStore& store, const TFigureGroups& groups,
                   const TFigureGroup& group)
{
    const std::span<const uint32_t> members = MembersOf(groups, group);
    std::vector<uint32_t> shapes, segmentList;  // store indices
    std::span<const uint32_t> segments = members;  // a group of segments alone: all its members
    int64_t triangles = 0, vertices = 2 * static_cast<int64_t>(members.size());
    if (group.Points != 2 * members.size()) {
        vertices = 0;
        ForEachFigure(store, members, [&](uint32_t index) {
            const int32_t kind = store.Figures.PenOf(index).Kind;
            if (!IsFilledShape(kind)) {
                segmentList.push_back(index);
                vertices += 2;
                return;
            }
            shapes.push_back(index);
            const bool quad = kind == fkQuad;
            triangles += quad ? 2 : 1;
            vertices += quad ? 4 : 3;
        });
        segments = segmentList;
    }

    const std::string g = GeometryId(group.Layer, group.Color);
    BeginGeometry(doc, g);
    WriteSource(doc, g, kPositions, vertices, [&] {
        const auto line = [&](uint32_t i) { doc.PositionLine(store.Figures[i]); };
        ForEachFigure(store, shapes, line);
        ForEachFigure(store, segments, line);
    });
    if (triangles > 0)
        WriteSource(doc, g, kNormals, triangles, [&] {
            for (uint32_t i : shapes) doc.NormalLine(store.Figures[i]);
        });
    WriteVertices(doc, g);
    int64_t n = 0;  // running vertex number
    if (triangles > 0)
        WriteTriangles(doc, g, group.Color, triangles, [&] {
            int64_t t = 0;  // running triangle (normal) number
            for (uint32_t i : shapes) doc.TriangleIndexLine(store.Figures[i], n, t);
        });
    WriteSegments(doc, g, group.Color, n, segments.size());
    EndGeometry(doc);
}

void WriteGeometries(TColladaDocument& doc, const TFigureStore& store, const TFigureGroups& groups, unsigned threads)
{
    doc.Line("<library_geometries>");
    WriteGeometriesInOrder(doc, groups, threads, [&](TColladaDocument& to, const TFigureGroup& group) {
        WriteGeometry(to, store, groups, group);
    });
    doc.Line("</library_geometries>");
}

// What the document is built from: the Figures of each layer, and of each colour over all
// layers. The groups have counted every pair already, so the store is not read again.
struct TCensus {
    std::array<int32_t, kFigLayerCount> Layers{};
    std::vector<int32_t> Colors = std::vector<int32_t>(kPaletteSize + 1, 0);  // 1-based
    std::vector<bool> ColorsWithShapes = std::vector<bool>(kPaletteSize + 1, false);
};

// A group of segments alone has two points per member; a filled shape has three or four.
bool HasShapes(const TFigureGroup& g) { return g.Points != 2 * (g.Last - g.First); }

TCensus TakeCensus(const TFigureGroups& groups)
{
    TCensus census;
    for (const TFigureGroup& g : groups.Groups) {
        census.Layers[static_cast<size_t>(g.Layer)] += static_cast<int32_t>(g.Counted);
        census.Colors[static_cast<size_t>(g.Color)] += static_cast<int32_t>(g.Counted);
        if (HasShapes(g)) census.ColorsWithShapes[static_cast<size_t>(g.Color)] = true;
    }
    return census;
}

void WriteScene(TColladaDocument& doc, const TCensus& census, const TFigureGroups& groups, TColladaMaterials materials)
{
    BeginScene(doc);
    auto group = groups.Groups.begin();
    for (int32_t h = 0; h < kFigLayerCount; ++h) {
        if (census.Layers[static_cast<size_t>(h)] == 0) continue;
        BeginNode(doc, h);
        while (group != groups.Groups.end() && group->Layer < h) ++group;
        for (; group != groups.Groups.end() && group->Layer == h; ++group) {
            if (materials == TColladaMaterials::Unlit) WriteUnlitInstance(doc, h, group->Color, HasShapes(*group));
            else WriteInstance(doc, h, group->Color);
        }
        EndNode(doc);
    }
    EndScene(doc);
}

}  // namespace

bool WriteCollada(const TConversionContext& context, TByteSink& sink)
{
    return WriteColladaDocument(context, sink, WriteGeometries);
}

bool WriteColladaDocument(const TConversionContext& context, TByteSink& sink, const TColladaGeometriesWriter& geometries,
                          TColladaMaterials materials)
{
    try {
        const TFigureStore& store = context.Store;
        const unsigned threads = WriterThreadsFor(context);
        const TFigureGroups groups = GroupFigures(store, threads);
        const TCensus census = TakeCensus(groups);
        const double scale = static_cast<double>(0.001L * static_cast<long double>(context.Options.CoordinateScale));

        const std::string now = FormatUtcStamp(std::chrono::system_clock::now());
        // A stamp that would break the document is not kept.
        const std::optional<std::string>& kept = context.Options.CreationStamp;
        const std::string& creationStamp = kept && IsPlainStampText(*kept) ? *kept : now;

        TBufferedOutput out(sink);
        TColladaDocument doc(out, scale);
        WriteHeader(doc, creationStamp, now);
        if (materials == TColladaMaterials::Unlit) {
            WriteUnlitEffects(doc, store, census.Colors, census.ColorsWithShapes);
            WriteUnlitMaterials(doc, census.Colors, census.ColorsWithShapes);
        } else {
            WriteEffects(doc, store, census.Colors);
            WriteMaterials(doc, census.Colors);
        }
        geometries(doc, store, groups, threads);
        WriteScene(doc, census, groups, materials);
        return out.Finish();
    } catch (...) {
        return false;  // the sink holds an unfinished document, which the caller discards
    }
}
