// The real drawings of the shared folder load to their end with the expected counts.
#include <gtest/gtest.h>

#include <cstdio>

#include "formats/jww/jwwunit.h"
#include "support/GoldenJson.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"

namespace {

const char* const kKinds[] = {"lines", "arcs", "points", "texts", "dimensions", "solids", "blockInserts"};

size_t ListCount(const TJwwRecordLists& lists, int kindIndex)
{
    return lists.Count(static_cast<EJwwKind>(kindIndex + 1));
}

std::string Hex6(uint32_t color)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", color & 0xFFFFFF);
    return text;
}

}  // namespace

TEST(JwwSamples, EverySampleLoadsWithTheExpectedCountsScaleAndTrees)
{
    const auto files = jwwsamples::SampleFiles();
    if (files.empty()) SKIP_WITHOUT_SHARED_DATA("shared samples absent");
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const auto json = golden::ReadText(jwwsamples::GoldenFor(file));
        ASSERT_TRUE(json.has_value());
        TJwwData jww;
        ASSERT_TRUE(jww.CheckSignature(file));
        EXPECT_TRUE(jww.LoadFile(file));
        EXPECT_EQ(jww.header.version, golden::Number(*json, "version"));
        EXPECT_EQ(jww.entityCount, golden::Number(*json, "entityCount"));
        for (int k = 0; k < 7; ++k) {
            EXPECT_EQ(ListCount(jww, k), golden::Number(*json, "counts", kKinds[k])) << kKinds[k];
            size_t members = 0;
            for (const TEntJwwBlockDef& def : jww.blockDefs) members += ListCount(def.records, k);
            EXPECT_EQ(members, golden::Number(*json, "blockDefMembers", kKinds[k])) << kKinds[k];
        }
        EXPECT_EQ(jww.blockDefCount, golden::Number(*json, "blockDefCount"));
        EXPECT_EQ(jww.blockDefs.size(), golden::Number(*json, "blockDefsLoaded"));
        EXPECT_EQ(jww.blockTrees.size(), golden::Number(*json, "blockTrees"));
        EXPECT_DOUBLE_EQ(jww.DrawingScale(), golden::Number(*json, "scale0"));
        EXPECT_EQ(Hex6(jww.pens[0].screenColor), golden::String(*json, "pen0"));
        EXPECT_EQ(jww.streamEnd, golden::Number(*json, "endOffset"));

        std::vector<std::string> classes;
        for (const TJwwClassEntry& c : jww.classes) classes.push_back(std::to_string(c.index) + ":" + c.name);
        EXPECT_EQ(classes, golden::StringList(*json, "classes"));

        // Every placed definition adds its lines and arcs once per placement.
        size_t lines = jww.lines.size(), arcs = jww.arcs.size();
        for (const TEntJwwBlockTree& tree : jww.blockTrees) {
            if (tree.defIndex < 0) continue;
            lines += jww.blockDefs[static_cast<size_t>(tree.defIndex)].records.lines.size();
            arcs += jww.blockDefs[static_cast<size_t>(tree.defIndex)].records.arcs.size();
        }
        EXPECT_TRUE(jww.ExpandBlocks());
        EXPECT_EQ(jww.lines.size(), lines);
        EXPECT_EQ(jww.arcs.size(), arcs);
        EXPECT_TRUE(jww.blockDefs.empty());
    }
}
