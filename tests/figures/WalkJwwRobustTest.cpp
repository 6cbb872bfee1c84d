// The walker on damaged and hostile drawings (this runs under the sanitizers): values that are
// not numbers, absurd sizes and numbers out of their ranges convert quietly into a valid
// document, and so does every prefix of a drawing holding every entity kind.
#include <gtest/gtest.h>

#include <limits>

#include "figures/Primitives.h"
#include "figures/Walkers.h"
#include "formats/jww/jwwunit.h"
#include "support/Conversion.h"
#include "support/ExamplePlan.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"
#include "support/TempDir.h"

using jwwfixture::Common;
using jwwfixture::MakeArc;
using jwwfixture::MakeLine;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEntJwwSolid Solid(uint8_t lineType, std::initializer_list<double> fields)
{
    TEntJwwSolid s;
    s.common = Common(0, 0, 1, lineType);
    double* out[8] = {&s.x1, &s.y1, &s.x2, &s.y2, &s.x3, &s.y3, &s.x4, &s.y4};
    int i = 0;
    for (double v : fields) *out[i++] = v;
    return s;
}

}  // namespace

TEST(JwwWalkRobust, CoordinatesThatAreNotNumbersAddNoFigure)
{
    TConversionContext ctx;
    ctx.Options.Include.Solids = true;
    TJwwData jww;
    jww.lines = {MakeLine(kNaN, 0, 1, 1), MakeLine(0, 0, kInf, 1), MakeLine(0, 0, 1, 1)};
    jww.solids = {Solid(1, {0, 0, kNaN, 0, 1, 1, 0, 1}), Solid(102, {0, 0, 10, 1, 0, 0, 3, kNaN}),
                  Solid(1, {0, 0, 1e308, 0, 1e308, 1e308, 0, 1})};
    jww.layerGroups.resize(16);
    jww.layerGroups[0].scale = 10;  // 1e308 * 10 overflows
    WalkJww(jww, ctx);
    EXPECT_EQ(ctx.Store.FigureCount, 1);
}

TEST(JwwWalkRobust, AbsurdSizesAndNumbersOutOfRangeStayBounded)
{
    TConversionContext ctx;
    ctx.Options.Include.Solids = true;
    ctx.Options.ArcMode = TArcMode::ByLength;
    ctx.Options.ArcLength = 0.001;
    TJwwData jww;
    TEntJwwEnko huge = MakeArc(0, 0, 1e12, 0, 1e300, Common(15, 4000, 60000));  // layer 64015, pen 60000
    jww.arcs = {huge, MakeArc(0, 0, kNaN, kNaN, kNaN)};
    jww.solids = {Solid(101, {0, 0, 1e12, 1, 0, 0, 1e300, 2e9}), Solid(111, {0, 0, 1, 1, 0, 0, 1, -kInf}),
                  Solid(200, {0, 0, 1e12, 1e12, 0, 0, 6, 1e-300})};
    TEntJwwSolid ownFill = Solid(1, {0, 0, 1, 0, 1, 1, 0, 1});
    ownFill.common.color = 10;
    for (uint32_t i = 0; i < 6000; ++i) {  // more fill colours than the palette holds
        ownFill.fillColor = 0x01000000u + i;
        jww.solids.push_back(ownFill);
    }
    WalkJww(jww, ctx);
    EXPECT_EQ(ctx.Store.PaletteCount, kPaletteSize);
    EXPECT_LE(ctx.Store.FigureCount, 6000 + 6 * kMaxArcDivisions);
    EXPECT_EQ(ctx.Store.Figures[0].Layer, 64015);  // stored unchanged; the writer finds no geometry for it
    EXPECT_EQ(ctx.Store.Figures.at(static_cast<size_t>(ctx.Store.FigureCount - 1)).Color, kDefaultPaletteIndex);

    EXPECT_GT(DocumentOf(ctx).size(), 0u);
}

TEST(JwwWalkRobust, EveryPrefixOfADrawingWithEveryKindConverts)
{
    const std::vector<uint8_t> bytes = jwwfixture::BuildExamplePlan();
    TConversionOptions options;
    options.Include.Solids = true;
    TEngine engine;
    TMemorySink document;
    TConversionResult whole;
    const size_t tail = 1500;  // the entity stream and block definitions end the file
    for (size_t length = 0; length <= bytes.size(); length += length + tail < bytes.size() ? 61 : 1) {
        document.Bytes.clear();
        whole = engine.Convert(AsBytes(bytes).first(length), TInputFormat::Jww, options, document);
        ASSERT_TRUE(whole.Written && whole.Failure.empty()) << "prefix " << length;
        ASSERT_LE(whole.Segments + whole.Triangles, 200u) << "prefix " << length;
    }
    EXPECT_GT(whole.Segments + whole.Triangles, 100u);
}
