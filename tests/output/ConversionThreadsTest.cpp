#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "figures/Walkers.h"
#include "formats/jww/jwwunit.h"
#include "output/GeometriesInOrder.h"
#include "support/Conversion.h"
#include "support/JwwWriter.h"
#include "support/SharedData.h"
#include "support/TempDir.h"
#include "util/OrderedTasks.h"

// A document formatted on several threads is the one a single thread writes: small
// geometries made in memory on workers, one larger than kLargeGroup written in its turn.
TEST(ConversionThreads, EveryFormatIsTheSameOnOneThreadAndOnSeveral)
{
    TConversionContext context;
    TFigureStore& store = context.Store;
    for (int32_t i = 0; i < 2 * static_cast<int32_t>(kLargeGroup); ++i) {
        const double x = i * 0.25;
        const int32_t layer = i % 3 == 0 ? 1 + i % 7 : 0;  // two thirds in one large geometry
        store.AddLine(layer, layer == 0 ? 1 : 1 + i % 5, x, -x, x + 1, 2 * x);
        if (i % 1000 == 0) store.AddQuad(2, 3, x, 0, x + 1, 0, x + 1, 1, x, 1);
    }
    context.Options.CreationStamp = "2024-05-01T09:30:00Z";
    for (const TOutputFormat format : {TOutputFormat::Dae, TOutputFormat::DaeCompact, TOutputFormat::Glb}) {
        context.Options.Format = format;
        std::string documents[2];
        for (int run = 0; run < 2; ++run) {
            context.Options.Threads = run == 0 ? 1 : 3;
            documents[run] = DocumentOf(context);
            ASSERT_FALSE(documents[run].empty());
            // The time of writing may differ between the runs.
            if (const size_t at = documents[run].find("<modified>"); at != std::string::npos)
                documents[run].erase(at, documents[run].find("</modified>") - at);
        }
        EXPECT_TRUE(documents[0] == documents[1]) << "format " << static_cast<int>(format);
    }
}

// Results come in order; a failure stops the work and reaches the caller.
TEST(ConversionThreads, RunInOrderKeepsTheOrderAndPassesOnAFailure)
{
    for (unsigned threads : {1u, 4u}) {
        std::vector<size_t> seen;
        const auto square = [](size_t i) { return i * i; };
        RunInOrder<size_t>(50, threads, 3, square, [&](size_t i, size_t r) { seen.push_back(r - i * i + i); });
        std::vector<size_t> expected(50);
        for (size_t i = 0; i < 50; ++i) expected[i] = i;
        EXPECT_EQ(seen, expected);

        seen.clear();
        const auto failAt7 = [](size_t i) -> size_t { return i == 7 ? throw std::runtime_error("seven") : i; };
        EXPECT_THROW(RunInOrder<size_t>(50, threads, 3, failAt7, [&](size_t i, size_t) { seen.push_back(i); }),
                     std::runtime_error);
        EXPECT_LE(seen.size(), 7u);  // what was made before the failure, in order
        for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i);
    }
}

// The arcs' points worked out in batches on several threads are stored as one thread stores
// them: same Figures in the same order, skipped arcs (a hidden layer's, auxiliary pen 9)
// skipped, whole circles and many batches included.
TEST(ConversionThreads, ArcsWalkTheSameOnOneThreadAndOnSeveral)
{
    TJwwData jww;
    for (int i = 0; i < 3000; ++i) {
        const auto common = jwwfixture::Common(static_cast<uint16_t>(i % 16), 0, static_cast<uint16_t>(i % 11));
        TEntJwwEnko arc = jwwfixture::MakeArc(i * 0.7, -i * 0.3, 1 + i % 50, i * 0.01, 0.1 + (i % 60) * 0.1, common);
        arc.fullCircle = i % 4 == 0;
        jww.arcs.push_back(arc);
    }
    std::vector<TFigure> stored[2];
    for (int run = 0; run < 2; ++run) {
        TConversionContext context;
        context.Attributes.SetLayerState(3, TgraAttribute::kHiddenState);
        context.Options.Include.HiddenLayers = false;
        context.Options.ArcMode = TArcMode::ByAngle;  // by angle: from 3 points to 64 an arc
        context.Options.Threads = run == 0 ? 1 : 3;
        context.Options.MinFiguresForThreads = run == 0 ? SIZE_MAX : 0;
        TJwwData copy = jww;
        WalkJww(copy, context);
        for (const TFigure& f : context.Store.Figures) stored[run].push_back(f);
    }
    ASSERT_GT(stored[0].size(), 3 * 16384u);
    ASSERT_EQ(stored[0].size(), stored[1].size());
    const auto same = [](const TFigure& a, const TFigure& b) {
        return a.Kind == b.Kind && a.Layer == b.Layer && a.Color == b.Color &&
               std::memcmp(a.Points, b.Points, sizeof a.Points) == 0;
    };
    for (size_t i = 0; i < stored[0].size(); ++i) ASSERT_TRUE(same(stored[0][i], stored[1][i])) << i;
}
