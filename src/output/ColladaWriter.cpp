#include "output/ColladaWriter.h"

#include <chrono>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "output/ColladaElements.h"
#include "output/ColladaStamp.h"
#include "output/FigureGroups.h"
#include "output/GeometriesInOrder.h"
#include "util/BufferedFile.h"

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

void WriteScene(TColladaDocument& doc, const TFigureStore& store, const TFigureGroups& groups)
{
    BeginScene(doc);
    auto group = groups.Groups.begin();
    for (int32_t h = 0; h < kFigLayerCount; ++h) {
        if (store.LayerCounts[static_cast<size_t>(h)] == 0) continue;
        BeginNode(doc, h);
        while (group != groups.Groups.end() && group->Layer < h) ++group;
        for (; group != groups.Groups.end() && group->Layer == h; ++group) WriteInstance(doc, h, group->Color);
        EndNode(doc);
    }
    EndScene(doc);
}

// The census the document is built from: layers, and colours over all layers. Afterwards the
// store's colour counts are those of the last used layer, as a layer-by-layer census leaves
// them. The groups have counted every pair already, so the store is not read again.
std::vector<int32_t> TakeCensus(TFigureStore& store, const TFigureGroups& groups)
{
    std::vector<int32_t> totals(store.ColorCounts.size(), 0);
    store.LayerCounts.fill(0);
    for (const TFigureGroup& g : groups.Groups) {
        store.LayerCounts[static_cast<size_t>(g.Layer)] += static_cast<int32_t>(g.Counted);
        totals[static_cast<size_t>(g.Color)] += static_cast<int32_t>(g.Counted);
    }
    store.ColorCounts.fill(0);
    const int32_t lastLayer = groups.Groups.empty() ? -1 : groups.Groups.back().Layer;
    for (const TFigureGroup& g : groups.Groups)
        if (g.Layer == lastLayer) store.ColorCounts[static_cast<size_t>(g.Color)] = static_cast<int32_t>(g.Counted);
    return totals;
}

}  // namespace

bool WriteCollada(TConversionContext& context, const std::filesystem::path& path)
{
    return WriteColladaDocument(context, path, WriteGeometries);
}

bool WriteColladaDocument(TConversionContext& context, const std::filesystem::path& path,
                          const TColladaGeometriesWriter& geometries)
{
    // The document goes to a temporary file that replaces the old one only when complete, so
    // a failure at any point leaves the old document as it was.
    TBufferedFile file;
    try {
        TFigureStore& store = context.Store;
        const unsigned threads = WriterThreadsFor(context);
        const TFigureGroups groups = GroupFigures(store, threads);
        const std::vector<int32_t> colorTotals = TakeCensus(store, groups);
        const double scale = static_cast<double>(0.001L * static_cast<long double>(context.CoordinateScale));

        const std::string now = FormatUtcStamp(std::chrono::system_clock::now());
        std::string creationStamp = now;
        // A stamp that would break the document is not kept.
        if (std::optional<std::string> kept = ReadCreationStamp(path); kept && IsPlainStampText(*kept))
            creationStamp = *kept;

        if (!file.Create(path)) return false;
        TColladaDocument doc(file, scale);
        WriteHeader(doc, creationStamp, now);
        WriteEffects(doc, store, colorTotals);
        WriteMaterials(doc, colorTotals);
        geometries(doc, store, groups, threads);
        WriteScene(doc, store, groups);
        if (file.Close()) return true;
    } catch (...) {
        // The unfinished temporary file is discarded with `file`.
    }
    return false;
}
