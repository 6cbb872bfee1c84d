// Writing a large drawing: 1,000,000 segments and 100,000 quadrilaterals over 64 layers x 32
// colours. BM_WriteCollada is the real writer (Figures grouped by layer and colour once);
// BM_WriteColladaRescanning is a reference writer that re-scans the whole store for every
// geometry, pass by pass, and runs a colour census per layer, producing the same document.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "figures/ColladaNumbers.h"
#include "figures/ColladaStamp.h"
#include "figures/ColladaWriter.h"
#include "util/BufferedFile.h"

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
        c.CoordinateScale = 1.0;
        c.Store.ResetPalette(c.Attributes);
        uint64_t state = 88172645463325252ull;  // xorshift: the same drawing every run
        auto next = [&state] {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            return state;
        };
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

// ---- The reference writer: a direct reading of the layout, one full store scan per pass.

class TNaiveWriter {
public:
    TNaiveWriter(TFigureStore& store, double scale) : store_(store), scale_(scale) {}

    bool Write(const fs::path& path)
    {
        store_.CountLayers();
        store_.CountColors(-1, 13);
        const auto totals = store_.ColorCounts;
        const std::string now = FormatUtcStamp(std::chrono::system_clock::now());
        if (!out_.Create(path)) return false;
        L("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
        L("<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">");
        L("<asset>");
        L("  <contributor>");
        L("    <author>Halvik</author>");
        L("    <authoring_tool>TESSARO</authoring_tool>");
        L("    <copyright>Halvik All Rights Reserved</copyright>");
        L("  </contributor>");
        P("  <created>"), P(now), L("</created>");
        P("  <modified>"), P(now), L("</modified>");
        L("  <revision>1.0</revision>");
        L("  <up_axis>Z_UP</up_axis>");
        L("</asset>");
        L("<library_effects>");
        for (int s = 1; s <= kPaletteSize; ++s) {
            if (totals[s] <= 0) continue;
            const uint32_t rgb = store_.Palette[s];
            P("  <effect id=\"ColorID"), I(s), L("\">");
            L("    <profile_COMMON>");
            L("      <technique sid=\"COMMON\">");
            L("        <lambert>");
            L("          <diffuse>");
            P("            <color>"), P(ColorChannelText(rgb & 0xFF)), P(" "), P(ColorChannelText((rgb >> 8) & 0xFF)),
                P(" "), P(ColorChannelText((rgb >> 16) & 0xFF)), L(" 1</color>");
            L("          </diffuse>");
            L("        </lambert>");
            L("      </technique>");
            L("    </profile_COMMON>");
            L("  </effect>");
        }
        L("</library_effects>");
        L("<library_materials>");
        for (int s = 1; s <= kPaletteSize; ++s) {
            if (totals[s] <= 0) continue;
            P("  <material id=\"DefColor"), I(s), L("\">");
            P("    <instance_effect url=\"#ColorID"), I(s), L("\" />");
            L("  </material>");
        }
        L("</library_materials>");
        L("<library_geometries>");
        for (int h = 0; h < kFigLayerCount; ++h) {
            if (store_.LayerCounts[h] == 0) continue;
            store_.CountColors(h, 13);
            for (int s = 1; s <= kPaletteSize; ++s)
                if (store_.ColorCounts[s] != 0) Geometry(h, s);
        }
        L("</library_geometries>");
        L("<library_visual_scenes>");
        L("  <visual_scene id=\"DefaultScene\">");
        for (int h = 0; h < kFigLayerCount; ++h) {
            if (store_.LayerCounts[h] == 0) continue;
            store_.CountColors(h, 13);
            P("    <node id=\"Layer"), I(h), P("\" name=\"Layer"), I(h), L("\">");
            for (int s = 1; s <= kPaletteSize; ++s) {
                if (store_.ColorCounts[s] == 0) continue;
                P("      <instance_geometry url=\"#layer"), I(h), P("-C"), I(s), L("\">");
                L("        <bind_material>");
                L("          <technique_common>");
                P("            <instance_material symbol=\"Color"), I(s), P("\" target=\"#DefColor"), I(s), L("\" />");
                L("          </technique_common>");
                L("        </bind_material>");
                L("      </instance_geometry>");
            }
            L("    </node>");
        }
        L("  </visual_scene>");
        L("</library_visual_scenes>");
        L("<scene>");
        L("  <instance_visual_scene url=\"#DefaultScene\" />");
        L("</scene>");
        L("</COLLADA>");
        return out_.Close();
    }

private:
    void P(std::string_view text) { out_.Write(text); }
    void L(std::string_view text) { out_.Write(text), out_.Write("\r\n"); }
    void I(int64_t value) { out_.WriteInt(value); }
    void F(long double value) { out_.Commit(FormatFixed9(value, out_.Reserve(kFixed9MaxChars))); }
    bool Member(const TFigure& f, int h, int s) const { return f.Used && f.Layer == h && f.Color == s; }

    void Points(const TFigure& f, int count)
    {
        P("          ");
        for (int i = 0; i < count; ++i) {
            if (i > 0) P(" ");
            F(static_cast<long double>(f.Points[i].x) * scale_), P(" ");
            F(static_cast<long double>(f.Points[i].y) * scale_), P(" ");
            F(static_cast<long double>(f.Points[i].z) * scale_);
        }
        P("\r\n");
    }

    void Normal(const TFigPoint& p1, const TFigPoint& a, const TFigPoint& b)
    {
        const long double ux = static_cast<long double>(a.x) - p1.x, uy = static_cast<long double>(a.y) - p1.y,
                          uz = static_cast<long double>(a.z) - p1.z;
        const long double vx = static_cast<long double>(b.x) - p1.x, vy = static_cast<long double>(b.y) - p1.y,
                          vz = static_cast<long double>(b.z) - p1.z;
        long double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const long double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (length > 1e-7L) nx /= length, ny /= length, nz /= length;
        F(nx), P(" "), F(ny), P(" "), F(nz);
    }

    void Geometry(int h, int s)
    {
        const std::string g = "layer" + std::to_string(h) + "-C" + std::to_string(s);
        const int n = store_.FigureCount;
        const TFigure* figures = store_.Figures.data();
        int64_t v = 0, t = 0, l = 0;
        for (int i = 0; i < n; ++i) {  // pass 1: counting
            const TFigure& f = figures[i];
            if (!Member(f, h, s)) continue;
            if (f.Kind == fkLine) v += 2, l += 1;
            else if (f.Kind == fkTriangle) v += 3, t += 1;
            else if (f.Kind == fkQuad) v += 4, t += 2;
        }
        P("  <geometry id=\""), P(g), P("\" name=\""), P(g), L("\">");
        L("    <mesh>");
        P("      <source id=\""), P(g), L("-Pos\">");
        P("        <float_array id=\""), P(g), P("-Pos-array\" count=\""), I(3 * v), L("\">");
        if (t > 0)
            for (int i = 0; i < n; ++i) {  // pass 2: positions of filled shapes
                const TFigure& f = figures[i];
                if (!Member(f, h, s)) continue;
                if (f.Kind == fkTriangle) Points(f, 3);
                else if (f.Kind == fkQuad) Points(f, 4);
            }
        if (l > 0)
            for (int i = 0; i < n; ++i)  // pass 3: positions of segments
                if (Member(figures[i], h, s) && figures[i].Kind == fkLine) Points(figures[i], 2);
        L("        </float_array>");
        L("        <technique_common>");
        P("          <accessor source=\"#"), P(g), P("-Pos-array\" count=\""), I(v), L("\" stride=\"3\">");
        L("            <param name=\"X\" type=\"float\" />");
        L("            <param name=\"Y\" type=\"float\" />");
        L("            <param name=\"Z\" type=\"float\" />");
        L("          </accessor>");
        L("        </technique_common>");
        L("      </source>");
        if (t > 0) {
            P("      <source id=\""), P(g), L("-Normal\">");
            P("        <float_array id=\""), P(g), P("-Normal-array\" count=\""), I(3 * t), L("\">");
            for (int i = 0; i < n; ++i) {  // pass 4: normals
                const TFigure& f = figures[i];
                if (!Member(f, h, s) || (f.Kind != fkTriangle && f.Kind != fkQuad)) continue;
                P("          ");
                Normal(f.Points[0], f.Points[1], f.Points[2]);
                if (f.Kind == fkQuad) P(" "), Normal(f.Points[0], f.Points[2], f.Points[3]);
                P("\r\n");
            }
            L("        </float_array>");
            L("        <technique_common>");
            P("          <accessor source=\"#"), P(g), P("-Normal-array\" count=\""), I(t), L("\" stride=\"3\">");
            L("            <param name=\"X\" type=\"float\"/>");
            L("            <param name=\"Y\" type=\"float\"/>");
            L("            <param name=\"Z\" type=\"float\"/>");
            L("          </accessor>");
            L("        </technique_common>");
            L("      </source>");
        }
        P("      <vertices id=\""), P(g), L("-Vtx\">");
        P("        <input semantic=\"POSITION\" source=\"#"), P(g), L("-Pos\" />");
        L("      </vertices>");
        int64_t vertex = 0;
        if (t > 0) {
            P("      <triangles count=\""), I(t), P("\" material=\"Color"), I(s), L("\">");
            P("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#"), P(g), L("-Vtx\" />");
            P("        <input offset=\"1\" semantic=\"NORMAL\" source=\"#"), P(g), L("-Normal\" />");
            L("        <p>");
            int64_t tri = 0;
            for (int i = 0; i < n; ++i) {  // pass 5: triangle indices
                const TFigure& f = figures[i];
                if (!Member(f, h, s)) continue;
                if (f.Kind == fkTriangle) {
                    P("        "), I(vertex), P(" "), I(tri), P(" "), I(vertex + 1), P(" "), I(tri), P(" "),
                        I(vertex + 2), P(" "), I(tri), P("\r\n");
                    vertex += 3, tri += 1;
                } else if (f.Kind == fkQuad) {
                    P("        "), I(vertex), P(" "), I(tri), P(" "), I(vertex + 1), P(" "), I(tri), P(" "),
                        I(vertex + 2), P(" "), I(tri), P(" "), I(vertex), P(" "), I(tri + 1), P(" "), I(vertex + 2),
                        P(" "), I(tri + 1), P(" "), I(vertex + 3), P(" "), I(tri + 1), P("\r\n");
                    vertex += 4, tri += 2;
                }
            }
            L("        </p>");
            L("      </triangles>");
        }
        if (l > 0)
            for (int i = 0; i < n; ++i) {  // pass 6: line elements
                if (!Member(figures[i], h, s) || figures[i].Kind != fkLine) continue;
                P("      <lines count=\"1\" material=\"Color"), I(s), L("\">");
                P("        <input offset=\"0\" semantic=\"VERTEX\" source=\"#"), P(g), L("-Vtx\" />");
                P("        <p>"), I(vertex), P(" "), I(vertex + 1), L("</p>");
                L("      </lines>");
                vertex += 2;
            }
        L("    </mesh>");
        L("  </geometry>");
    }

    TFigureStore& store_;
    long double scale_;
    TBufferedFile out_;
};

// The document after its stamps, for comparing the two writers' output.
std::string BodyAfterStamps(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t at = text.find("</asset>");
    return at == std::string::npos ? std::string() : text.substr(at);
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
    for (auto _ : state) WriteCollada(context, path);
    Report(state, path);
    std::error_code error;
    fs::remove(path, error);
}

void BM_WriteColladaRescanning(benchmark::State& state)
{
    TConversionContext& context = LargeDrawing();
    const fs::path path = OutputPath("tessaro-bench-rescanning.dae");
    const double scale = static_cast<double>(0.001L * context.CoordinateScale);
    for (auto _ : state) {
        TNaiveWriter writer(context.Store, scale);
        if (!writer.Write(path)) state.SkipWithError("could not write the document");
    }
    Report(state, path);
    // Both writers must produce the same document.
    const fs::path grouped = OutputPath("tessaro-bench-grouped.dae");
    WriteCollada(context, grouped);
    state.counters["same_document"] = BodyAfterStamps(grouped) == BodyAfterStamps(path) ? 1 : 0;
    std::error_code error;
    fs::remove(path, error);
    fs::remove(grouped, error);
}

}  // namespace

BENCHMARK(BM_WriteCollada)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_WriteColladaRescanning)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
