#pragma once
// The two readers of the shared entity stream, TJwwData (drawings) and TJwsData (figure
// files), side by side for tests that must hold for both: a file of either kind around a
// stream, a stream holding every record kind, and the check of every prefix of a file.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <numbers>
#include <vector>

#include "formats/jws/jwsunit.h"
#include "formats/jww/jwwunit.h"
#include "support/JwsWriter.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"

namespace streamfixture {

using TFill = std::function<void(jwwfixture::TJwwStreamWriter&)>;

// How a test builds a file for one reader: the versions it reads, Build(version, fill) and
// the header's size.
template <class Data> struct TFileOf;

template <> struct TFileOf<TJwwData> {
    static constexpr int32_t kLowestVersion = TJwwData::kLowestVersion;
    static std::vector<uint8_t> Build(int32_t version, const TFill& fill)
    {
        jwwfixture::TJwwFileWriter w(version);
        fill(w.stream);
        return w.Build();
    }
    static size_t HeaderSize(int32_t version) { return jwwfixture::TJwwFileWriter(version).HeaderSize(); }
};

template <> struct TFileOf<TJwsData> {
    static constexpr int32_t kLowestVersion = 0;  // none: the version only picks record forms
    static std::vector<uint8_t> Build(int32_t version, const TFill& fill)
    {
        jwsfixture::TJwsFileWriter w(version);
        fill(w.stream);
        return w.Build();
    }
    static size_t HeaderSize(int32_t) { return jwsfixture::kHeaderSize; }
};

// Every record kind, texts and definitions, nested and rotated placements.
inline void WriteEveryKind(jwwfixture::TJwwStreamWriter& s)
{
    using namespace jwwfixture;
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
    s.Line(MakeLine(0, 0, 1, 1)).Arc(MakeArc(0, 0, 1, 0, 1)).Point(coded).Text(text);
    s.Dimension(dim).Solid(solid).Block(MakeInsert(1, 5, 5, 2, 1, std::numbers::pi / 3));
    s.BeginBlockDef(MakeBlockDef(1, "outer")).Line(MakeLine(0, 0, 2, 2)).Block(MakeInsert(2, 1, 0));
    s.Arc(MakeArc(0, 0, 1, 0, 2)).EndBlockDef();
    s.BeginBlockDef(MakeBlockDef(2, "inner")).Dimension(dim).Solid(solid).Point(coded).Text(text).EndBlockDef();
    s.trailing = {0, 0, 0, 0};
}

struct TCounts {
    std::array<size_t, 7> kinds{};
    size_t defs = 0, members = 0, trees = 0;
};

inline TCounts CountsOf(const TJwwEntityModel& model)
{
    TCounts c;
    for (size_t k = 0; k < 7; ++k) c.kinds[k] = model.Count(static_cast<EJwwKind>(k + 1));
    c.defs = model.blockDefs.size();
    for (const TEntJwwBlockDef& def : model.blockDefs) c.members += def.members.size();
    c.trees = model.blockTrees.size();
    return c;
}

// Loads prefixes of `bytes` (every length up to `everyUpTo`, then every `stride`-th) and
// expands their blocks: each load is complete only once the stream is (bytes after it are
// never read), stops within the prefix and never yields more than the whole file does. A figure file keeps its
// 16 layer groups whatever the length.
template <class Data> void CheckPrefixes(const std::vector<uint8_t>& bytes, size_t everyUpTo, size_t stride)
{
    Data data;
    const TReadResult whole = data.LoadBytes(AsBytes(bytes));
    ASSERT_TRUE(whole);
    ASSERT_EQ(whole.offset, data.streamEnd);
    const TCounts wholeCounts = CountsOf(data);
    for (size_t length = 0; length < bytes.size();) {
        CheckPrefixResult(data.LoadBytes(AsBytes(bytes).first(length)), length, Data::kSignature, whole.offset);
        if constexpr (std::is_same_v<Data, TJwsData>) {
            ASSERT_EQ(data.layerGroups.size(), 16u) << "prefix " << length;
        }
        const TCounts part = CountsOf(data);
        for (size_t k = 0; k < 7; ++k)
            ASSERT_LE(part.kinds[k], wholeCounts.kinds[k]) << "prefix " << length << " kind " << k + 1;
        ASSERT_LE(part.defs, wholeCounts.defs) << "prefix " << length;
        ASSERT_LE(part.members, wholeCounts.members) << "prefix " << length;
        ASSERT_LE(part.trees, wholeCounts.trees) << "prefix " << length;
        data.ExpandBlocks();
        length += length < everyUpTo ? 1 : stride;
    }
}

}  // namespace streamfixture
