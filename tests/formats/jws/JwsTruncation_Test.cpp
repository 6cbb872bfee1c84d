// Reading damaged figure files: every prefix loads without crashing or reading out of bounds
// (this runs under the sanitizers), keeps its 16 layer groups, answers true only once the
// stream is complete, and never yields more than the whole file does.
#include <gtest/gtest.h>

#include <array>
#include <numbers>

#include "formats/jws/jwsunit.h"
#include "support/JwsSamples.h"
#include "support/JwsWriter.h"
#include "support/JwwSamples.h"

using namespace jwwfixture;

namespace {

struct TCounts {
    std::array<size_t, 7> kinds{};
    size_t defs = 0, members = 0, trees = 0;
};

TCounts CountsOf(const TJwsData& jws)
{
    TCounts c;
    for (int k = 0; k < 7; ++k) c.kinds[static_cast<size_t>(k)] = jws.Count(static_cast<EJwwKind>(k + 1));
    c.defs = jws.blockDefs.size();
    for (const TEntJwwBlockDef& def : jws.blockDefs) c.members += def.members.size();
    c.trees = jws.blockTrees.size();
    return c;
}

// Loads prefixes of `bytes` (every length up to `everyUpTo`, then every `stride`-th) and
// expands their blocks.
void CheckPrefixes(const std::vector<uint8_t>& bytes, size_t everyUpTo, size_t stride)
{
    TJwsData jws;
    ASSERT_TRUE(jws.LoadBytes(bytes));
    const TCounts whole = CountsOf(jws);
    const size_t wholeEnd = jws.streamEnd;
    for (size_t length = 0; length < bytes.size();) {
        ASSERT_EQ(jws.LoadBytes(bytes.data(), length), length >= wholeEnd) << "prefix " << length;
        ASSERT_EQ(jws.layerGroups.size(), 16u) << "prefix " << length;
        const TCounts part = CountsOf(jws);
        for (size_t k = 0; k < 7; ++k) ASSERT_LE(part.kinds[k], whole.kinds[k]) << "prefix " << length;
        ASSERT_LE(part.defs, whole.defs) << "prefix " << length;
        ASSERT_LE(part.members, whole.members) << "prefix " << length;
        ASSERT_LE(part.trees, whole.trees) << "prefix " << length;
        jws.ExpandBlocks();
        length += length < everyUpTo ? 1 : stride;
    }
}

// A figure file with every record kind, texts and definitions, nested and rotated placements.
std::vector<uint8_t> EveryKindFigureFile(int32_t version)
{
    jwsfixture::TJwsFileWriter w(version);
    w.groupScales[0] = 50;
    TEntJwwTen coded = MakePoint(1, 1, Common(0, 0, 1, 100));
    TEntJwwSolid solid;
    solid.common = Common(0, 0, 10, 101);
    solid.x2 = 1, solid.y2 = 1, solid.x4 = 1, solid.y4 = 100;
    TEntJwwSunpo dim;
    dim.line = MakeLine(0, 0, 1, 0);
    dim.text.text = std::string(1, '1');
    dim.sxfMode = 1;
    dim.point2 = coded;
    TEntJwwMoji text;
    text.fontName = "f";
    text.text = "text";
    w.stream.Line(MakeLine(0, 0, 1, 1)).Arc(MakeArc(0, 0, 1, 0, 1)).Point(coded).Text(text);
    w.stream.Dimension(dim).Solid(solid).Block(MakeInsert(1, 5, 5, 2, 1, std::numbers::pi / 3));
    w.stream.BeginBlockDef(MakeBlockDef(1, "outer")).Line(MakeLine(0, 0, 2, 2)).Block(MakeInsert(2, 1, 0));
    w.stream.Arc(MakeArc(0, 0, 1, 0, 2)).EndBlockDef();
    w.stream.BeginBlockDef(MakeBlockDef(2, "inner")).Dimension(dim).Solid(solid).Point(coded).Text(text).EndBlockDef();
    w.stream.trailing = {0, 0, 0, 0};
    return w.Build();
}

}  // namespace

TEST(JwsTruncation, EveryPrefixOfAFigureFileWithEveryKindLoadsSafely)
{
    for (int32_t version : {200, 350, 420, 700}) {
        SCOPED_TRACE(version);
        const auto bytes = EveryKindFigureFile(version);
        CheckPrefixes(bytes, bytes.size(), 1);
    }
}

TEST(JwsTruncation, PrefixesOfFigureFilesMadeFromTheSampleDrawingsLoadSafely)
{
    const auto drawings = jwwsamples::SampleFiles();
    if (drawings.empty()) GTEST_SKIP() << "shared samples absent";
    for (const auto& drawing : drawings) {
        SCOPED_TRACE(drawing.string());
        const jwssamples::TJwsSample sample = jwssamples::JwsFromDrawing(drawing);
        ASSERT_FALSE(sample.bytes.empty());
        // Every length through the header and the first records, then about 3000 evenly
        // spread prefixes (an odd stride meets every alignment).
        CheckPrefixes(sample.bytes, 4096, (sample.bytes.size() / 3000) | 1);
    }
}

TEST(JwsRobust, CorruptedHeaderAndStreamBytesEndReadingQuietly)
{
    const auto bytes = EveryKindFigureFile(420);
    TJwsData jws;
    for (size_t at = 0; at < bytes.size(); ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFE}, uint8_t{0xFF}}) {
            auto damaged = bytes;
            damaged[at] = value;
            jws.LoadBytes(damaged);
            ASSERT_EQ(jws.layerGroups.size(), 16u);
            jws.ExpandBlocks();
        }
    }
}
