#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "output/ColladaElements.h"

namespace {

// What `write` puts into a document kept in memory.
template <class Write>
std::string Written(Write&& write)
{
    TMemorySink sink;
    TBufferedOutput file(sink);
    TColladaDocument doc(file, 0.001);
    write(doc);
    EXPECT_TRUE(file.Finish());
    return sink.Bytes;
}

}  // namespace

// The vertex numbers are counted up in their text: every carry, also into a new digit, gives
// the numbers std::to_string gives.
TEST(ColladaElements, SegmentVertexNumbersCarryLikeIntegers)
{
    for (const int64_t first : {0LL, 7LL, 8LL, 96LL, 97LL, 98LL, 998LL, 9999999990LL}) {
        const std::string text = Written([&](TColladaDocument& doc) { WriteSegments(doc, "g", 1, first, 8); });
        const std::regex pair("<p>(\\d+) (\\d+)</p>");
        int64_t expected = first;
        for (auto m = std::sregex_iterator(text.begin(), text.end(), pair); m != std::sregex_iterator(); ++m) {
            EXPECT_EQ((*m)[1].str(), std::to_string(expected)) << first;
            EXPECT_EQ((*m)[2].str(), std::to_string(expected + 1)) << first;
            expected += 2;
        }
        EXPECT_EQ(expected, first + 16) << first;
    }
}

// A position line copies the text of a point only when the point's bits are the same: a
// different point, or -0 after +0, is formatted anew.
TEST(ColladaElements, PositionLinesReuseATextOnlyForTheSamePoint)
{
    const TFigure lines[] = {{fkLine, 0, 1, {{1, 2, 0}, {3, 4, 0}}},
                             {fkLine, 0, 1, {{3, 4, 0}, {5, 6, 0}}},
                             {fkLine, 0, 1, {{5, 0, 0}, {5, -0.0, 0}}}};
    const std::string text = Written([&](TColladaDocument& doc) {
        for (const TFigure& f : lines) doc.PositionLine(f);
    });
    EXPECT_EQ(text, std::string(kArrayIndent) + "0.001000000 0.002000000 0.000000000 0.003000000 0.004000000 0.000000000\r\n" +
                        std::string(kArrayIndent) + "0.003000000 0.004000000 0.000000000 0.005000000 0.006000000 0.000000000\r\n" +
                        std::string(kArrayIndent) + "0.005000000 0.000000000 0.000000000 0.005000000 -0.000000000 0.000000000\r\n");
}
