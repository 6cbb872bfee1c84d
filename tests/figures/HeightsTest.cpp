#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "figures/HeightCaps.h"
#include "figures/Walkers.h"
#include "formats/jww/jwwunit.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"

using jwwfixture::Common;
using jwwfixture::MakeLine;

namespace {

TEntJwwMoji MakeText(double x, double y, std::string text, TEntJwwCommon c = Common())
{
    TEntJwwMoji t;
    t.common = c, t.startX = x, t.startY = y, t.sizeX = t.sizeY = 2.5, t.text = std::move(text);
    return t;
}

// A lifted store by the shape of each Figure: segments on the ground, level off it, vertical
// and sloping; upright triangles (walls) and level ones (roofs, floors); the lowest, highest z.
struct TShapeCensus {
    int Ground = 0, Level = 0, Vertical = 0, Sloped = 0, Walls = 0, Caps = 0;
    double Low = 0, High = 0;
    bool operator==(const TShapeCensus&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TShapeCensus& c)
{
    return out << c.Ground << " ground, " << c.Level << " level, " << c.Vertical << " vertical, " << c.Sloped
               << " sloped, " << c.Walls << " walls, " << c.Caps << " caps, z " << c.Low << ".." << c.High;
}

TShapeCensus CensusOf(const TFigureStore& store)
{
    TShapeCensus c;
    for (const TFigure& f : store.Figures) {
        const TFigPoint* p = f.Points;
        for (int i = 0; i < FigurePointCount(f.Kind); ++i) c.Low = std::min(c.Low, p[i].z), c.High = std::max(c.High, p[i].z);
        if (f.Kind != fkLine) ++(p[0].z == p[1].z && p[1].z == p[2].z ? c.Caps : c.Walls);
        else if (p[0].x == p[1].x && p[0].y == p[1].y) ++c.Vertical;
        else if (p[0].z != p[1].z) ++c.Sloped;
        else ++(p[0].z == 0 ? c.Ground : c.Level);
    }
    return c;
}

// A square of side 1000 on layer 0, of `sides` sides, with `corner` written at each corner.
void Square(TJwwData& jww, const std::string& corner, int sides = 4)
{
    const double x[] = {0, 1000, 1000, 0}, y[] = {0, 0, 1000, 1000};
    for (int i = 0; i < sides; ++i) jww.lines.push_back(MakeLine(x[i], y[i], x[(i + 1) % 4], y[(i + 1) % 4]));
    for (int i = 0; i < 4; ++i) jww.texts.push_back(MakeText(x[i], y[i], corner));
}

// One line from (0, 0) to (1000, 0) with these texts at its ends.
void Marked(TJwwData& jww, const std::string& start, const std::string& end)
{
    jww.lines = {MakeLine(0, 0, 1000, 0)};
    jww.texts = {MakeText(0, 0, start), MakeText(1000, 0, end)};
}

using TMake = std::function<void(TJwwData&, TConversionContext&)>;
const std::string kNines(400, '9');

const struct {
    const char* Name;
    TMake Make;
    TShapeCensus Expected;
} kCases[] = {
    {"one number", [](TJwwData& d, TConversionContext&) { Marked(d, " 3 ", "3.000"); }, {1, 1, 2, 0, 2, 0, 0, 3000}},
    {"two numbers in either order, blanks full-width too",
     [](TJwwData& d, TConversionContext&) { Marked(d, "2.800,4.200", "\x81\x40 4.2 , 2.8\t"); }, {0, 2, 2, 0, 2, 0, 0, 4200}},
    {"a negative height goes down", [](TJwwData& d, TConversionContext&) { Marked(d, "-1.5", "-0.5 , -1.5"); },
     {0, 1, 2, 1, 2, 0, -1500, 0}},
    {"millimetres", [](TJwwData& d, TConversionContext& c) { c.Options.Heights = THeightUnit::Millimetres, Marked(d, "3000", "10000000"); },
     {1, 0, 2, 1, 2, 0, 0, 10000000}},
    {"heights beyond 10 km and texts that are no heights mark nothing", [](TJwwData& d, TConversionContext&) {
         Marked(d, "10000.5", "3 m");
         for (const char* text : {"3,", "-.5", "1e3", "12.", "+3", "1,2,3", ""}) d.texts.push_back(MakeText(0, 0, text));
         d.texts.push_back(MakeText(0, 0, kNines));
     }, {1, 0, 0, 0, 0, 0, 0, 0}},
    {"a mark on another layer lifts nothing", [](TJwwData& d, TConversionContext&) {
         d.lines = {MakeLine(0, 0, 1000, 0)};
         d.texts = {MakeText(0, 0, "3", Common(1)), MakeText(1000, 0, "3", Common(0, 1))};
     }, {1, 0, 0, 0, 0, 0, 0, 0}},
    {"a mark 2e-4 away lifts nothing, 0.9e-4 away (in the lookup's next cell) it does", [](TJwwData& d, TConversionContext&) {
         d.lines = {MakeLine(0, 0, 1000, 0), MakeLine(0, 500, 1000, 500.00009), MakeLine(1000.00009, 800, 0, 800)};
         d.texts = {MakeText(2e-4, 0, "3"), MakeText(1000, 500.00018, "3"), MakeText(1000.00018, 800, "3")};
     }, {3, 0, 2, 2, 2, 0, 0, 3000}},
    {"three lines meeting at a mark share one vertical", [](TJwwData& d, TConversionContext&) {
         d.lines = {MakeLine(0, 0, 1000, 0), MakeLine(0, 0, 0, 1000), MakeLine(0, 0, -1000, -1000)};
         d.texts = {MakeText(0, 0, "3")};
     }, {3, 0, 1, 3, 3, 0, 0, 3000}},
    {"a closed square gets a roof", [](TJwwData& d, TConversionContext&) { Square(d, "3"); }, {4, 4, 4, 0, 8, 2, 0, 3000}},
    {"a raised closed square gets a floor too", [](TJwwData& d, TConversionContext&) { Square(d, "1,3"); },
     {0, 8, 4, 0, 8, 4, 0, 3000}},
    {"an open outline gets no roof", [](TJwwData& d, TConversionContext&) { Square(d, "3", 3); }, {3, 3, 4, 0, 6, 0, 0, 3000}},
    {"a block placed twice lifts both copies by its own marks", [](TJwwData& d, TConversionContext&) {
         jwwfixture::TJwwFileWriter file(600);
         file.stream.BeginBlockDef(jwwfixture::MakeBlockDef(1, "wall"))
             .Line(MakeLine(0, 0, 10, 0)).Text(MakeText(0, 0, "3")).Text(MakeText(10, 0, "3")).EndBlockDef();
         file.stream.Block(jwwfixture::MakeInsert(1, 0, 0)).Block(jwwfixture::MakeInsert(1, 100, 50));
         ASSERT_TRUE(d.LoadBytes(AsBytes(file.Build())));
     }, {2, 2, 4, 0, 4, 0, 0, 3000}},
    {"a layer raised by position, its arcs too", [](TJwwData& d, TConversionContext& c) {
         c.Options.Heights = THeightUnit::Off;
         c.Options.Extrude = {{"0-a", 2}};
         d.lines = {MakeLine(0, 0, 1000, 0, Common(10)), MakeLine(0, 0, 1000, 0, Common(11))};
         d.arcs = {jwwfixture::MakeArc(0, 0, 100, 0, 2 * 3.14159265358979323846, Common(10))};
     }, {2 + 12, 1 + 12, 2 + 12, 0, 2 + 24, 10, 0, 2000}},
    {"a layer raised by its name goes down for a negative height", [](TJwwData& d, TConversionContext& c) {
         c.Options.Heights = THeightUnit::Off;
         c.Options.Extrude = {{"基礎", -0.5}};
         c.Names.Layers[17] = "基礎";
         d.lines = {MakeLine(0, 0, 1000, 0, Common(1, 1)), MakeLine(0, 0, 1000, 0, Common(1, 0))};
     }, {2, 1, 2, 0, 2, 0, -500, 0}},
    {"a million marks on one point are one mark", [](TJwwData& d, TConversionContext&) {
         d.texts.assign(1000000, MakeText(0, 0, "3"));
         for (int i = 0; i < 1000; ++i) d.lines.push_back(MakeLine(0, 0, 1000, i));
     }, {1000, 0, 1, 1000, 1000, 0, 0, 3000}},
    {"a mark wins over the layer's height", [](TJwwData& d, TConversionContext& c) {
         c.Options.Extrude = {{"0-0", 2}};
         Marked(d, "5", "no height");
     }, {1, 0, 2, 1, 2, 0, 0, 5000}},
};

}  // namespace

TEST(Heights, EveryCaseOfTheRuleMakesItsShapes)
{
    for (const auto& test : kCases) {
        SCOPED_TRACE(test.Name);
        TConversionContext ctx;
        ctx.Options.Heights = THeightUnit::Metres;
        TJwwData jww;
        test.Make(jww, ctx);
        WalkJww(jww, ctx);
        EXPECT_EQ(CensusOf(ctx.Store), test.Expected);
    }
}

TEST(Heights, TheLaterOfTwoMarksOnAPointWinsAndTheirTextsAreNotDrawn)
{
    TConversionContext ctx;
    ctx.Options.Heights = THeightUnit::Metres;
    ctx.Options.Include.Texts = true;
    TJwwData jww;
    jww.lines = {MakeLine(0, 0, 1000, 0)};
    jww.texts = {MakeText(0, 0, "9"), MakeText(0, 0, "4"), MakeText(1000, 0, "20000")};
    WalkJww(jww, ctx);
    EXPECT_EQ(CensusOf(ctx.Store).High, 4000);
    EXPECT_EQ(ctx.Heights.OutOfRange, 1u);
    // Only the text beyond the limit is an ordinary text: drawn, or told to be without a font.
    EXPECT_EQ(ctx.Texts.Drawn + ctx.Texts.WithoutFont, 1u);
}

TEST(Heights, LoopsThatCrossOrBranchGetNoFaceAndFacesLookOutward)
{
    const auto faces = [](std::vector<TPlanePoint> corners, bool tail, bool up) {
        std::vector<TCapEdge> edges;
        for (size_t i = 0; i < corners.size(); ++i)
            edges.push_back({i, (i + 1) % corners.size(), corners[i], corners[(i + 1) % corners.size()], 1});
        if (tail) edges.push_back({0, 99, {0, 0}, {-5, -5}, 1});  // a corner of three edges
        size_t work = 1000000;
        double area = 0;  // seen from above: positive facing up
        AddCapFaces(edges, up, work, [&](const TPlanePoint (&c)[3], int32_t) {
            area += ((c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[1].y - c[0].y) * (c[2].x - c[0].x)) / 2;
        });
        return area;
    };
    EXPECT_EQ(faces({{0, 0}, {10, 10}, {10, 0}, {0, 10}}, false, true), 0);  // a bow tie
    EXPECT_EQ(faces({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true, true), 0);
    const std::vector<TPlanePoint> room = {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};
    EXPECT_DOUBLE_EQ(faces(room, false, true), 300);
    EXPECT_DOUBLE_EQ(faces(room, false, false), -300);
}
