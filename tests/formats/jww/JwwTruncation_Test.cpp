// Reading damaged input: every prefix of every sample and of a drawing holding every record
// kind loads without crashing or reading out of bounds (this runs under the sanitizers), and
// never yields more than the whole file does. Corrupted bytes end the reading quietly.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <numbers>

#include "formats/jww/jwwunit.h"
#include "support/JwwSamples.h"
#include "support/JwwWriter.h"

using namespace jwwfixture;

namespace {

struct TCounts {
    std::array<size_t, 7> kinds{};
    size_t defs = 0, members = 0, trees = 0;
};

TCounts CountsOf(const TJwwData& jww)
{
    TCounts c;
    for (int k = 0; k < 7; ++k) c.kinds[static_cast<size_t>(k)] = jww.Count(static_cast<EJwwKind>(k + 1));
    c.defs = jww.blockDefs.size();
    for (const TEntJwwBlockDef& def : jww.blockDefs) c.members += def.members.size();
    c.trees = jww.blockTrees.size();
    return c;
}

void ExpectWithin(const TCounts& part, const TCounts& whole, size_t length)
{
    for (size_t k = 0; k < 7; ++k) ASSERT_LE(part.kinds[k], whole.kinds[k]) << "prefix " << length << " kind " << k + 1;
    ASSERT_LE(part.defs, whole.defs) << "prefix " << length;
    ASSERT_LE(part.members, whole.members) << "prefix " << length;
    ASSERT_LE(part.trees, whole.trees) << "prefix " << length;
}

// Loads prefixes of `bytes` (every length up to `everyUpTo`, then every `stride`-th) and
// expands their blocks.
void CheckPrefixes(const std::vector<uint8_t>& bytes, size_t everyUpTo, size_t stride)
{
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(bytes));
    const TCounts whole = CountsOf(jww);
    const size_t wholeEnd = jww.streamEnd;  // bytes after it are never read
    for (size_t length = 0; length < bytes.size();) {
        EXPECT_EQ(jww.LoadBytes(bytes.data(), length), length >= wholeEnd) << "prefix " << length;
        ExpectWithin(CountsOf(jww), whole, length);
        jww.ExpandBlocks();
        length += length < everyUpTo ? 1 : stride;
    }
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes));
    return bytes;
}

// A drawing with every record kind, texts and definitions, nested and rotated placements.
std::vector<uint8_t> EveryKindDrawing(int32_t version)
{
    TJwwFileWriter w(version);
    TEntJwwTen coded = MakePoint(1, 1, Common(0, 0, 1, 100));
    TEntJwwSolid solid;
    solid.common = Common(0, 0, 10, 101);
    solid.x2 = 1, solid.y2 = 1, solid.x4 = 1, solid.y4 = 100;
    TEntJwwSunpo dim;
    dim.line = MakeLine(0, 0, 1, 0);
    dim.text.text = "1";
    dim.sxfMode = 1;
    dim.point2 = coded;
    TEntJwwMoji text;
    text.fontName = "f";
    text.text = "text";
    w.stream.Line(MakeLine(0, 0, 1, 1)).Arc(MakeArc(0, 0, 1, 0, 1)).Point(coded).Text(text);
    w.stream.Dimension(dim).Solid(solid).Block(MakeInsert(1, 5, 5, 2, 1, std::numbers::pi / 3));
    w.stream.BeginBlockDef(MakeBlockDef(1, "outer")).Line(MakeLine(0, 0, 2, 2)).Block(MakeInsert(2, 1, 0));
    w.stream.Arc(MakeArc(0, 0, 1, 0, 2)).EndBlockDef();
    w.stream.BeginBlockDef(MakeBlockDef(2, "inner")).Dimension(dim).Solid(solid).Point(coded).EndBlockDef();
    w.stream.trailing = {0, 0, 0, 0};
    return w.Build();
}

}  // namespace

class JwwTruncation : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(JwwTruncation, EveryPrefixOfASampleLoadsSafelyAndWithinTheWholeFile)
{
    if (GetParam().empty()) GTEST_SKIP() << "shared samples absent";
    const std::vector<uint8_t> bytes = ReadAll(GetParam());
    // Every length of the drawings up to 64 KiB; about 20000 evenly spread prefixes of the
    // larger ones (an odd stride meets every alignment), after every length of their header.
    const size_t stride = bytes.size() <= 65536 ? 1 : (bytes.size() / 20000) | 1;
    CheckPrefixes(bytes, 20000, stride);
}

std::vector<std::filesystem::path> SamplesOrPlaceholder()
{
    auto files = jwwsamples::SampleFiles();
    if (files.empty()) files.emplace_back();
    return files;
}

INSTANTIATE_TEST_SUITE_P(Samples, JwwTruncation, ::testing::ValuesIn(SamplesOrPlaceholder()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) {
                             return "sample" + std::to_string(info.index);
                         });

TEST(JwwTruncationFixture, EveryPrefixOfADrawingWithEveryKindLoadsSafely)
{
    for (int32_t version : {230, 350, 420, 700}) {
        SCOPED_TRACE(version);
        const auto bytes = EveryKindDrawing(version);
        CheckPrefixes(bytes, bytes.size(), 1);
    }
}

TEST(JwwRobust, CorruptedBytesInTheStreamEndReadingQuietly)
{
    // Overwrite single bytes of the stream part with values that matter to the decoder.
    const auto bytes = EveryKindDrawing(700);
    const size_t headerSize = TJwwFileWriter(700).HeaderSize();
    TJwwData jww;
    for (size_t at = headerSize; at < bytes.size(); ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFE}, uint8_t{0xFF}}) {
            auto damaged = bytes;
            damaged[at] = value;
            jww.LoadBytes(damaged);
            jww.ExpandBlocks();
        }
    }
    SUCCEED();
}
