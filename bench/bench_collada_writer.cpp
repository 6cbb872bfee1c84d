// Writing a large drawing: 1,000,000 segments and 100,000 quadrilaterals over 64 layers x 32
// colours. BM_WriteCollada is the real writer (Figures grouped by layer and colour once);
// BM_WriteColladaRescanning is the algorithm the grouped writer replaced: it re-scans the whole
// store for every geometry, pass by pass, and runs a colour census per layer. It is built from
// the writer's own element helpers and must produce the same document, byte for byte.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "XorShift.h"
#include "output/ColladaElements.h"
#include "output/ColladaStamp.h"
#include "support/Conversion.h"
#include "util/BufferedOutput.h"
#include "util/FileSink.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSegments = 1'000'000;
constexpr int kQuads = 100'000;
constexpr int kLayers = 64;
constexpr int kColors = 32;

TConversionContext& LargeDrawing()
{
    static TConversionContext context = [] {
        TConversionContext c;
        c.Options.CoordinateScale = 1.0;
        c.Store.ResetPalette(c.Attributes);
        TXorShift random;
        auto next = [&random] { return random.Next(); };
        auto coordinate = [&next] { return static_cast<double>(next() % 2'000'000'000) / 1000.0 - 1'000'000.0; };
        for (int i = 0; i < kSegments + kQuads; ++i) {
            const int32_t layer = static_cast<int32_t>(next() % kLayers) * 4;  // spread over 0..252
            const int32_t color = 1 + static_cast<int32_t>(next() % kColors) * 7;
            const double x = coordinate(), y = coordinate();
            if (i % 11 == 10) c.Store.AddQuad(layer, color, x, y, x + 12.5, y, x + 12.5, y + 7.25, x, y + 7.25);
            else c.Store.AddLine(layer, color, x, y, coordinate(), coordinate());
        }
        return c;
    }();
    return context;
}

fs::path OutputPath(const char* name) { return fs::temp_directory_path() / name; }

// ---- The reference writer: one full store scan per pass of every geometry.

class TRescanningWriter {
public:
    TRescanningWriter(TFigureStore& store, double scale) : store_(store), scale_(scale) {}

    // Writes the document with both stamps set to stamp.
    bool Write(const fs::path& path, const std::string& stamp)
    {
        store_.CountLayers();
        store_.CountColors(-1, kDrawnMask);
        const std::vector<int32_t> totals(store_.ColorCounts.begin(), store_.ColorCounts.end());
        TFileSink sink(path);
        TBufferedOutput file(sink);
        TColladaDocument doc(file, scale_);
        WriteHeader(doc, stamp, stamp);
        WriteEffects(doc, store_, totals);
        WriteMaterials(doc, totals);
        doc.Line("<library_geometries>");
        ForEachPair([&](int32_t h, int32_t s) { Geometry(doc, h, s); });
        doc.Line("</library_geometries>");
        BeginScene(doc);
        for (int32_t h = 0; h < kFigLayerCount; ++h) {
            if (store_.LayerCounts[static_cast<size_t>(h)] == 0) continue;
            BeginNode(doc, h);
            ForEachColor(h, [&](int32_t s) { WriteInstance(doc, h, s); });
            EndNode(doc);
        }
        EndScene(doc);
        return file.Finish() && sink.Commit();
    }

private:
    static constexpr int32_t kDrawnMask = 13;  // lines, triangles, quadrilaterals

    // The colours the census of layer h counts, ascending.
    template <typename Visit>
    void ForEachColor(int32_t h, Visit visit)
    {
        store_.CountColors(h, kDrawnMask);
        for (int32_t s = 1; s <= kPaletteSize; ++s)
            if (store_.ColorCounts[static_cast<size_t>(s)] != 0) visit(s);
    }

    template <typename Visit>
    void ForEachPair(Visit visit)
    {
        for (int32_t h = 0; h < kFigLayerCount; ++h)
            if (store_.LayerCounts[static_cast<size_t>(h)] != 0) ForEachColor(h, [&](int32_t s) { visit(h, s); });
    }

    // Visits the Figures of layer h and colour s that pass the filter, in store order.
    template <typename Filter, typename Visit>
    void Scan(int32_t h, int32_t s, Filter filter, Visit visit) const
    {
        for (const TFigure& f : store_.Figures)
            if (f.Layer == h && f.Color == s && filter(f)) visit(f);
    }

    void Geometry(TColladaDocument& doc, int32_t h, int32_t s) const
    {
        auto filled = [](const TFigure& f) { return IsFilledShape(f.Kind); };
        auto segment = [](const TFigure& f) { return f.Kind == fkLine; };
        int64_t vertices = 0, triangles = 0, segments = 0;
        Scan(h, s, [](const TFigure&) { return true; }, [&](const TFigure& f) {
            if (f.Kind == fkLine) vertices += 2, segments += 1;
            else if (f.Kind == fkTriangle) vertices += 3, triangles += 1;
            else if (f.Kind == fkQuad) vertices += 4, triangles += 2;
        });
        const std::string g = GeometryId(h, s);
        BeginGeometry(doc, g);
        WriteSource(doc, g, kPositions, vertices, [&] {
            Scan(h, s, filled, [&](const TFigure& f) { doc.PositionLine(f); });
            Scan(h, s, segment, [&](const TFigure& f) { doc.PositionLine(f); });
        });
        if (triangles > 0)
            WriteSource(doc, g, kNormals, triangles,
                        [&] { Scan(h, s, filled, [&](const TFigure& f) { doc.NormalLine(f); }); });
        WriteVertices(doc, g);
        int64_t n = 0, t = 0;
        if (triangles > 0)
            WriteTriangles(doc, g, s, triangles,
                           [&] { Scan(h, s, filled, [&](const TFigure& f) { doc.TriangleIndexLine(f, n, t); }); });
        Scan(h, s, segment, [&](const TFigure&) { WriteSegments(doc, g, s, n, 1), n += 2; });
        EndGeometry(doc);
    }

    TFigureStore& store_;
    double scale_;
};

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Report(benchmark::State& state, const fs::path& path)
{
    std::error_code error;
    const auto bytes = static_cast<int64_t>(fs::file_size(path, error));
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(bytes) / 1e6 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void BM_WriteCollada(benchmark::State& state)
{
    TConversionContext& context = LargeDrawing();
    const fs::path path = OutputPath("tessaro-bench-grouped.dae");
    for (auto _ : state) WriteDocumentFile(context, path);
    Report(state, path);
    std::error_code error;
    fs::remove(path, error);
}

void BM_WriteColladaRescanning(benchmark::State& state)
{
    TConversionContext& context = LargeDrawing();
    const fs::path grouped = OutputPath("tessaro-bench-grouped.dae");
    const fs::path path = OutputPath("tessaro-bench-rescanning.dae");
    std::error_code error;
    fs::remove(grouped, error);
    WriteDocumentFile(context, grouped);  // a new document: both its stamps are its creation time
    const std::string stamp = ReadCreationStamp(grouped).value_or("");
    const double scale = static_cast<double>(0.001L * context.Options.CoordinateScale);
    for (auto _ : state) {
        TRescanningWriter writer(context.Store, scale);
        if (!writer.Write(path, stamp)) state.SkipWithError("could not write the document");
    }
    Report(state, path);
    state.counters["same_document"] = FileBytes(grouped) == FileBytes(path) ? 1 : 0;
    fs::remove(path, error);
    fs::remove(grouped, error);
}

}  // namespace

BENCHMARK(BM_WriteCollada)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_WriteColladaRescanning)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
