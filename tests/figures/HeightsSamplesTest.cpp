#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <regex>
#include <vector>

#include "formats/jww/jwwunit.h"
#include "support/Conversion.h"
#include "support/GlbShapes.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"

// On every real drawing, the edges that a reading of its height texts independent of the
// engine's expects are in the glTF document, with the wall triangles the rule asks for, and
// the model's top is at the highest height; with heights asked for but none found, every
// document is what it is without them.

namespace {

namespace fs = std::filesystem;

struct TPoint3 {
    double x, y, z;
};
bool Near(const double* v, const TPoint3& p) { return std::fabs(v[0] - p.x) + std::fabs(v[1] - p.y) + std::fabs(v[2] - p.z) < 1e-3; }

// A height text read by a regular expression: its interval in metres.
std::optional<std::pair<double, double>> IntervalOf(const std::string& text)
{
    static const std::regex form(R"(^[ \t]*(-?[0-9]+(\.[0-9]+)?)[ \t]*(,[ \t]*(-?[0-9]+(\.[0-9]+)?)[ \t]*)?$)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return std::nullopt;
    const double a = m[4].matched ? std::stod(m[1]) : 0, b = m[4].matched ? std::stod(m[4]) : std::stod(m[1]);
    if (std::fabs(a) > 10000 || std::fabs(b) > 10000) return std::nullopt;
    return std::pair{std::min(a, b), std::max(a, b)};
}

struct TExpected {
    std::vector<std::pair<TPoint3, TPoint3>> Edges;
    size_t Walls = 0;
    double Top = 0;
    bool Any = false;
};

// Every line against every text of its layer: the nearest mark within 1e-4, the later of two
// equally near.
TExpected ExpectedOf(TJwwData& data)
{
    data.ExpandBlocks(true);
    const double s = data.DrawingScale() * 0.001;
    TExpected expected;
    const auto markAt = [&](int layer, double x, double y) {
        std::optional<std::pair<double, double>> best;
        double bestDistance = 1e300;
        for (const TEntJwwMoji& t : data.texts) {
            if (t.common.layerGroup * 16 + t.common.layer != layer) continue;
            if (std::fabs(t.startX - x) > 1e-4 || std::fabs(t.startY - y) > 1e-4) continue;
            const auto interval = IntervalOf(t.text);
            const double d = std::hypot(t.startX - x, t.startY - y);
            if (interval && d <= bestDistance) best = interval, bestDistance = d;
        }
        return best;
    };
    for (const TEntJwwSen& l : data.lines) {
        const int layer = l.common.layerGroup * 16 + l.common.layer;
        const auto a = markAt(layer, l.startX, l.startY), b = markAt(layer, l.endX, l.endY);
        if (!a && !b) continue;
        const std::pair<double, double> p = a.value_or(std::pair{0.0, 0.0}), q = b.value_or(std::pair{0.0, 0.0});
        const auto at = [s](double x, double y, double z) { return TPoint3{x * s, y * s, z}; };
        const TPoint3 pb = at(l.startX, l.startY, p.first), pt = at(l.startX, l.startY, p.second);
        const TPoint3 qb = at(l.endX, l.endY, q.first), qt = at(l.endX, l.endY, q.second);
        expected.Edges.insert(expected.Edges.end(), {{pb, qb}, {pt, qt}});
        if (p.first < p.second) expected.Edges.push_back({pb, pt});
        if (q.first < q.second) expected.Edges.push_back({qb, qt});
        if (l.startX != l.endX || l.startY != l.endY) expected.Walls += (p.first < p.second) + (q.first < q.second);
        expected.Top = std::max({expected.Top, p.second, q.second});
        expected.Any = true;
    }
    return expected;
}

}  // namespace

TEST(HeightsSamples, TheEdgesOfEveryHeightTextAreInTheDocument)
{
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings");
    size_t lifted = 0;
    for (const fs::path& sample : samples) {
        SCOPED_TRACE(sample.filename().string());
        TJwwData data;
        ASSERT_TRUE(data.LoadFile(sample));
        const TExpected expected = ExpectedOf(data);
        TConversionOptions options;
        options.Format = TOutputFormat::Glb;
        const std::string flat = ConvertDrawingFile(sample, options).Document;
        options.Heights = THeightUnit::Metres;
        const std::string document = ConvertDrawingFile(sample, options).Document;
        if (!expected.Any) {
            EXPECT_EQ(document, flat) << "no height texts, yet the document changed";
            continue;
        }
        ++lifted;
        std::string root;
        std::vector<std::vector<double>> segments;
        size_t walls = 0, badWalls = 0;
        double top = -1e300;
        const auto onAnEdge = [&](const double* v) {
            return std::any_of(expected.Edges.begin(), expected.Edges.end(), [&](auto& e) { return Near(v, e.first) || Near(v, e.second); });
        };
        for (const auto& [id, s] : glb::ReadShapes(document, root)) {
            segments.insert(segments.end(), s.Segments.begin(), s.Segments.end());
            for (const auto& t : s.Triangles) {
                if (t[2] == t[5] && t[5] == t[8]) continue;  // a roof or a floor
                // A wall has an area and stands on the ends of its line's edges.
                const double u[3] = {t[3] - t[0], t[4] - t[1], t[5] - t[2]}, v[3] = {t[6] - t[0], t[7] - t[1], t[8] - t[2]};
                badWalls += std::hypot(u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]) < 1e-9 ||
                            !onAnEdge(&t[0]) || !onAnEdge(&t[3]) || !onAnEdge(&t[6]);
                ++walls;
            }
        }
        for (const auto& e : segments) top = std::max({top, e[2], e[5]});
        const size_t missing = std::count_if(expected.Edges.begin(), expected.Edges.end(), [&](auto& edge) {
            return std::none_of(segments.begin(), segments.end(), [&](const std::vector<double>& e) {
                return (Near(&e[0], edge.first) && Near(&e[3], edge.second)) || (Near(&e[0], edge.second) && Near(&e[3], edge.first));
            });
        });
        EXPECT_EQ(missing, 0u) << "of " << expected.Edges.size() << " edges";
        EXPECT_EQ(walls, expected.Walls);
        EXPECT_EQ(badWalls, 0u);
        EXPECT_NEAR(top, expected.Top, 1e-4);
    }
    EXPECT_GE(lifted, 4u) << "the samples with height texts";
}
