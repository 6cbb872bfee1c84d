// Texts drawn where the drawing puts them: on every real sample, each text's outlines lie in
// the box from its start point to its end point, sizeY high, give or take a tenth of the
// character size; and the layout predicts each record's end point.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <iostream>

#include "figures/TextFigures.h"
#include "formats/jww/jwwunit.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"
#include "text/TextLayout.h"

namespace {

struct TTextBounds {
    double minU = INFINITY, maxU = -INFINITY, minV = INFINITY, maxV = -INFINITY;
};

// The outlines `text` draws, measured in its own frame (u along the baseline, v up).
TTextBounds DrawnBounds(TConversionContext& ctx, const TEntJwwMoji& t)
{
    ctx.Store.ClearFigures();
    AddText(ctx, {0, 1}, 1.0, {t.startX, t.startY, t.sizeX, t.sizeY, t.spacing, t.angle, t.text, t.fontName});
    const double a = t.angle / 180 * std::numbers::pi;
    TTextBounds b;
    for (const TFigure& f : ctx.Store.Figures) {
        for (int i = 0; i < 2; ++i) {
            const double dx = f.Points[i].x - t.startX, dy = f.Points[i].y - t.startY;
            const double u = dx * std::cos(a) + dy * std::sin(a), v = -dx * std::sin(a) + dy * std::cos(a);
            b = {std::min(b.minU, u), std::max(b.maxU, u), std::min(b.minV, v), std::max(b.maxV, v)};
        }
    }
    return b;
}

}  // namespace

TEST(TextPlacement, EveryTextOfTheSamplesLiesInItsBox)
{
    const auto samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings");
    TConversionContext ctx;
    ctx.Options.Include.Texts = true;
    size_t allTexts = 0, allInside = 0;
    for (const auto& sample : samples) {
        TJwwData jww;
        ASSERT_TRUE(jww.LoadFile(sample));
        ASSERT_TRUE(jww.ExpandBlocks(true));
        std::vector<TEntJwwMoji> texts = jww.texts;
        for (const TEntJwwSunpo& d : jww.dimensions) texts.push_back(d.text);
        size_t inside = 0, drawn = 0;
        for (const TEntJwwMoji& t : texts) {
            const std::vector<TTextCell> cells = LayOutText(t.text, t.sizeX, t.spacing);
            const double length = std::hypot(t.endX - t.startX, t.endY - t.startY);
            // A text whose end is its start (settings kept as texts) has only its layout.
            const double end = length > 0 ? length : TextLength(cells);
            if (length > 0) {
                EXPECT_NEAR(TextLength(cells), length, 1e-6) << sample << ": " << t.text;
            }
            const TTextBounds b = DrawnBounds(ctx, t);
            if (ctx.Store.Figures.empty()) continue;
            ++drawn;
            const double slack = 0.1 * std::max(t.sizeX, t.sizeY);
            const bool in = b.minU >= -slack && b.maxU <= end + slack && b.minV >= -slack && b.maxV <= t.sizeY + slack;
            inside += in;
            EXPECT_TRUE(in) << sample.filename() << " '" << t.text << "' u " << b.minU << ".." << b.maxU << " of "
                            << end << ", v " << b.minV << ".." << b.maxV << " of " << t.sizeY;
        }
        std::cout << sample.filename().string() << ": " << inside << " of " << drawn << " texts inside their box\n";
        allTexts += drawn;
        allInside += inside;
    }
    EXPECT_EQ(ctx.Texts.WithoutFont, 0u) << "no font found: install fonts-ipaexfont-gothic";
    EXPECT_GT(allTexts, 300u);
    EXPECT_EQ(allInside, allTexts);
}
