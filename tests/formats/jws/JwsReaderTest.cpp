// The figure-file reader: its signature, its fixed header, the layer states it hands on, and
// what stays after a failure or a Clear. The stream's version forms: StreamForms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/jws/jwsunit.h"
#include "support/JwsWriter.h"
#include "support/ReaderLoads.h"
#include "support/TempDir.h"

using namespace jwwfixture;
using jwsfixture::TJwsFileWriter;

namespace {

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// One block (number 5, holding one line) placed once.
TJwsFileWriter WithPlacedBlock(int32_t version)
{
    TJwsFileWriter w(version);
    w.stream.Block(MakeInsert(5, 10, 20));
    w.stream.BeginBlockDef(MakeBlockDef(5, "b")).Line(MakeLine(0, 0, 1, 0)).EndBlockDef();
    return w;
}

}  // namespace

TEST(JwsReader, SignatureIsTheFirstSevenBytesExactlyInThatCase)
{
    TTempDir dir;
    const struct {
        const char* bytes;
        bool accepted;
    } cases[] = {
        {"JwsData", true},   {"JwsData.", true}, {"JwsDataX and more", true},
        {"JWSDATA.", false}, {"jwsdata.", false}, {"JwsDat", false}, {"JwwData.", false},
    };
    TJwsData jws;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        WriteFileBytes(dir / "f.jws", c.bytes);
        EXPECT_EQ(jws.CheckSignature(dir / "f.jws"), c.accepted);
    }
    EXPECT_FALSE(jws.CheckSignature(dir / "missing.jws"));
    EXPECT_FALSE(jws.LoadFile(dir / "missing.jws"));
    EXPECT_FALSE(jws.LoadFile(dir.Path()));  // a folder is not a file
    ASSERT_EQ(jws.layerGroups.size(), 0u);
}

TEST(JwsReader, TwoHundredByteFileFailsAtTheVersionWithSixteenEmptyGroups)
{
    TTempDir dir;
    std::vector<uint8_t> bytes = TJwsFileWriter(600).Build();
    bytes.resize(200);
    WriteFileBytes(dir / "short.jws", AsText(bytes));
    TJwsData jws;
    EXPECT_TRUE(jws.CheckSignature(dir / "short.jws"));
    EXPECT_FALSE(jws.LoadFile(dir / "short.jws"));
    EXPECT_EQ(jws.signature, "JwsData");
    EXPECT_EQ(jws.version, 0);
    ASSERT_EQ(jws.layerGroups.size(), 16u);
    for (const TEntJwwLayerGroup& g : jws.layerGroups) {
        EXPECT_EQ(g.state, 0);
        EXPECT_EQ(g.writeLayer, 0);
        EXPECT_EQ(g.scale, 0);
        EXPECT_EQ(g.protect, 0);
        EXPECT_TRUE(g.name.empty());
    }
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(jws.Count(static_cast<EJwwKind>(k)), 0u);
    EXPECT_TRUE(jws.blockTrees.empty());
}

TEST(JwsReader, GroupScalesReachTheGroupsInOrderAndSurviveAFailureRightAfterTheHeader)
{
    TJwsFileWriter w(600);
    for (int g = 0; g < 16; ++g) w.groupScales[static_cast<size_t>(g)] = 10 + g + 0.25;
    w.stream.Line(MakeLine(0, 0, 1, 1));
    const std::vector<uint8_t> bytes = w.Build();
    TJwsData jws;
    for (size_t length : {bytes.size(), jwsfixture::kHeaderSize}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(static_cast<bool>(jws.LoadBytes(AsBytes(bytes).first(length))), length == bytes.size());
        EXPECT_EQ(jws.version, 600);
        ASSERT_EQ(jws.layerGroups.size(), 16u);
        for (int g = 0; g < 16; ++g) {
            const TEntJwwLayerGroup& group = jws.layerGroups[static_cast<size_t>(g)];
            EXPECT_EQ(group.scale, 10 + g + 0.25);
            EXPECT_EQ(group.state, 2);
            EXPECT_EQ(group.writeLayer, 0);
            EXPECT_EQ(group.protect, 0);
        }
        EXPECT_EQ(jws.DrawingScale(), 10.25);
    }
    EXPECT_TRUE(jws.lines.empty());
}

TEST(JwsReader, BlockTreesAreBuiltWhetherOrNotTheFileIsComplete)
{
    std::vector<uint8_t> bytes = WithPlacedBlock(600).Build();
    TJwsData jws;
    ASSERT_TRUE(jws.LoadBytes(AsBytes(bytes)));
    ASSERT_EQ(jws.blockTrees.size(), 1u);
    EXPECT_EQ(jws.blockTrees[0].defIndex, 0);
    EXPECT_EQ(jws.blockTrees[0].transform.originX, 10);

    // Cut inside the definition's line: the placement is kept and gets its tree entry.
    EXPECT_FALSE(jws.LoadBytes(AsBytes(bytes).first(bytes.size() - 1)));
    ASSERT_EQ(jws.blockInserts.size(), 1u);
    ASSERT_EQ(jws.blockTrees.size(), 1u);
    EXPECT_EQ(jws.blockTrees[0].blockNumber, 5);
}

TEST(JwsReader, BytesAfterTheBlockDefinitionsAreNotRead)
{
    TJwsFileWriter w = WithPlacedBlock(420);
    w.stream.trailing = {0xFF, 0xFF, 0x01};
    TJwsData jws;
    EXPECT_TRUE(jws.LoadBytes(AsBytes(w.Build())));
    EXPECT_EQ(jws.streamStart, jwsfixture::kHeaderSize);
    EXPECT_EQ(jws.blockDefs.size(), 1u);
}

TEST(JwsReader, LoadLayersShowsEveryLayer)
{
    TgraAttribute attributes;
    for (int i = 0; i < TgraAttribute::kLayerCount; ++i) attributes.SetLayerState(i, i % 2 ? 3 : 2);
    TJwsData jws;
    ASSERT_TRUE(jws.LoadBytes(AsBytes(TJwsFileWriter(600).Build())));
    jws.LoadLayers(attributes);
    for (int i = 0; i < TgraAttribute::kLayerCount; ++i) EXPECT_EQ(attributes.LayerState(i), 1) << i;
}

TEST(JwsReader, ClearAndTheNextLoadLeaveNothingOfTheFileBefore)
{
    TTempDir dir;
    TJwsFileWriter w = WithPlacedBlock(600);
    w.groupScales[0] = 5;
    w.stream.Line(MakeLine(0, 0, 1, 1)).Dimension(TEntJwwSunpo{});
    WriteFileBytes(dir / "a.jws", AsText(w.Build()));
    TJwsData jws;
    ASSERT_TRUE(jws.LoadFile(dir / "a.jws"));
    ASSERT_EQ(jws.lines.size(), 1u);
    ASSERT_TRUE(jws.LoadFile(dir / "a.jws"));
    EXPECT_EQ(jws.lines.size(), 1u);  // not appended to the first load
    EXPECT_EQ(jws.blockDefs.size(), 1u);

    jws.Clear();
    EXPECT_TRUE(jws.signature.empty());
    EXPECT_EQ(jws.version, 0);
    EXPECT_TRUE(jws.layerGroups.empty());
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(jws.Count(static_cast<EJwwKind>(k)), 0u);
    EXPECT_TRUE(jws.blockDefs.empty());
    EXPECT_TRUE(jws.blockTrees.empty());
    EXPECT_EQ(jws.entityCount, 0);
    EXPECT_EQ(jws.blockDefCount, 0);
    EXPECT_EQ(jws.DrawingScale(), 1.0);
}
