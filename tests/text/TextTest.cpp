// The layout of a text's characters, the font a drawing's font name picks, and what happens
// without a font or without a glyph.
#include <gtest/gtest.h>

#include "figures/TextFigures.h"
#include "support/Conversion.h"
#include "support/JwwWriter.h"
#include "text/Font.h"
#include "text/FontFinder.h"
#include "text/TextLayout.h"

TEST(TextLayout, CellsAndLengthAsTheDrawingPlacesThem)
{
    struct TCase {
        const char* text;  // Shift_JIS
        double sizeX, spacing;
        std::vector<double> offsets;
        double length;
    } const cases[] = {
        {"\x82\x63\x82\x6A", 4, 0.5, {0, 4.5}, 8.5},                                     // ＤＫ
        {"\xB8\xDB\xB0\xBE\xDE\xAF\xC4", 3, 0.5, {0, 1.75, 3.5, 5.25, 7, 8.75, 10.5}, 12},  // ｸﾛｰｾﾞｯﾄ
        {"A\x82\x61", 3, 0.5, {0, 1.75}, 4.75},                                            // AＢ
        {"AB", 2, 0, {0, 1}, 2},
        {"A\x82", 3, 0.5, {0}, 1.5},  // a lead byte left dangling
        {"", 3, 0.5, {}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<TTextCell> cells = LayOutText(c.text, c.sizeX, c.spacing);
        ASSERT_EQ(cells.size(), c.offsets.size());
        for (size_t i = 0; i < cells.size(); ++i) EXPECT_DOUBLE_EQ(cells[i].Offset, c.offsets[i]);
        EXPECT_DOUBLE_EQ(TextLength(cells), c.length);
    }
    EXPECT_EQ(LayOutText("\x82\x63", 1, 0)[0].Char, U'Ｄ');
    EXPECT_TRUE(LayOutText("\xB8", 1, 0)[0].HalfWidth);
}

TEST(TextFonts, TheDrawingsFontNamePicksTheFamily)
{
    EXPECT_TRUE(IsMinchoFamily("ＭＳ 明朝"));
    EXPECT_TRUE(IsMinchoFamily("IPAexMincho"));
    EXPECT_FALSE(IsMinchoFamily("ＭＳ ゴシック"));
    const auto gothic = FindFont("ＭＳ ゴシック"), mincho = FindFont("ＭＳ Ｐ明朝"), unknown = FindFont("no such font");
    ASSERT_TRUE(gothic && mincho && unknown) << "install fonts-ipaexfont-gothic and fonts-ipaexfont-mincho";
    const auto file = [](const TFontLocation& f) { return std::filesystem::canonical(f.Path).filename(); };
    EXPECT_EQ(file(*gothic), "ipaexg.ttf");
    EXPECT_EQ(file(*mincho), "ipaexm.ttf");
    EXPECT_EQ(file(*unknown), "ipaexg.ttf");
}

// A character the font lacks is its cell's box, counted; a font that cannot be read draws
// nothing, and the text is counted as left out.
TEST(TextFonts, MissingGlyphsAreBoxesAndAMissingFontDrawsNothing)
{
    TConversionContext ctx;
    const TTextRecord eudc{10, 20, 4, 5, 0, 0, "\xF0\x40", "ＭＳ ゴシック"};  // a user-defined character
    AddText(ctx, {3, 1}, 1.0, eudc);
    EXPECT_EQ(ctx.Texts.MissingGlyphs, 1u);
    ASSERT_EQ(ctx.Store.Figures.size(), 4u);
    for (const TFigure& f : ctx.Store.Figures) {
        EXPECT_TRUE(f.Text);
        EXPECT_EQ(f.Layer, 3);
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(f.Points[i].x == 10 || f.Points[i].x == 14);
            EXPECT_TRUE(f.Points[i].y == 20 || f.Points[i].y == 25);
        }
    }
    ctx.Store.ClearFigures();
    ctx.Fonts.Begin("no/such/font.ttf", nullptr);
    AddText(ctx, {3, 1}, 1.0, {0, 0, 4, 4, 0, 0, "A", "ＭＳ ゴシック"});
    EXPECT_EQ(ctx.Texts.WithoutFont, 1u);
    EXPECT_TRUE(ctx.Store.Figures.empty());
}

TEST(TextFonts, CurvesGetTheArcsShareOfSegments)
{
    const double quarter = 3.14159265358979 / 2;
    EXPECT_EQ((TCurveRule{TCurveRule::PerTurn, 12}).SegmentsFor(1, quarter), 3);
    EXPECT_EQ((TCurveRule{TCurveRule::PerAngle, 0.1}).SegmentsFor(1, 0.25), 3);
    EXPECT_EQ((TCurveRule{TCurveRule::PerLength, 0.5}).SegmentsFor(2, quarter), 7);
    EXPECT_EQ((TCurveRule{TCurveRule::PerTurn, 12}).SegmentsFor(1, 0.01), 1);  // a nearly straight piece
    EXPECT_EQ((TCurveRule{TCurveRule::PerLength, 1e-9}).SegmentsFor(1, quarter), 64);
}

// A glyph wider than its half-width cell (a proportional W) is narrowed into it.
TEST(TextFonts, AGlyphStaysInItsCell)
{
    TConversionContext ctx;
    AddText(ctx, {0, 1}, 1.0, {0, 0, 4, 4, 0, 0, "WiW", "IPAexGothic"});
    ASSERT_FALSE(ctx.Store.Figures.empty());
    for (const TFigure& f : ctx.Store.Figures)
        for (int i = 0; i < 2; ++i) EXPECT_TRUE(f.Points[i].x >= -0.01 && f.Points[i].x <= 6.01) << f.Points[i].x;
}

// Texts and dimension values on a hidden layer go with the layer.
TEST(TextFonts, TextsOnAHiddenLayerAreLeftOutWithIt)
{
    jwwfixture::TJwwFileWriter drawing(600);
    drawing.header.layerStates[1] = 0;  // layer 0-1 hidden
    TEntJwwMoji text;
    text.common = jwwfixture::Common(1);
    text.sizeX = text.sizeY = 3;
    text.text.push_back('A');  // not = "A": GCC 12 warns falsely of an overlapping copy
    TEntJwwSunpo dimension;
    dimension.common = jwwfixture::Common(1);
    dimension.text = text;
    drawing.stream.Text(text).Dimension(dimension);
    TConversionOptions options;
    options.Include.Texts = true;
    options.Include.HiddenLayers = false;
    EXPECT_EQ(ConvertDrawing(drawing.Build(), TInputFormat::Jww, options).Result.Segments, 0u);
    options.Include.HiddenLayers = true;
    EXPECT_GT(ConvertDrawing(drawing.Build(), TInputFormat::Jww, options).Result.Segments, 10u);
}
